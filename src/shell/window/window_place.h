// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window goes at start-up: its stored place and size, in
// twips, brought onto a screen that is attached now and within reach.
#pragma once

#include <QPoint>
#include <QRect>

#include "platform/settings_keys.h"
#include "shell/twips.h"

class QWidget;

namespace jukora {

// Where the window is now, as its geometry is stored.
WindowPlace place_in_twips(const QWidget& window, const TwipScale& scale);

// Whether any part of `frame` lies on a screen that is attached now.
bool on_some_screen(const QRect& frame);

// The stored place and size in pixels, moved and sized onto the screen that
// shows most of it: no larger than that screen, not smaller than the least
// size, its title bar on it. Nothing of it on any screen: the design place,
// at a size that fits.
QRect stored_place_on_a_screen(const WindowPlace& stored, const QPoint& design_place, const TwipScale& scale);

}  // namespace jukora
