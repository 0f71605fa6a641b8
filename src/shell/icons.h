// SPDX-License-Identifier: GPL-3.0-or-later
// The program's five button images, drawn as vector art so they are sharp at
// every size and pixel ratio: a white disc carrying a black sign. And the
// program's own icon, the one its menu entry shows.
#pragma once

#include <QIcon>

namespace jukora {

QIcon minus_icon();
QIcon plus_icon();
QIcon arrow_icon();
QIcon page_icon();
QIcon mode_icon();

// The program's icon (data/icons, rendered from its SVG).
QIcon app_icon();
// The main window's: the Increment image on Windows, as always; elsewhere the
// program's icon, so that the desktop groups the window with its menu entry.
QIcon window_icon();

}  // namespace jukora
