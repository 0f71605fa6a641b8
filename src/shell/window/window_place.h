// SPDX-License-Identifier: GPL-3.0-or-later
// Where the main window goes at start-up: its stored place and size, in
// twips, brought wholly onto a screen that is attached now.
#pragma once

#include <QMargins>
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

// What the window manager adds around the window: measured once shown,
// estimated before.
QMargins frame_of(const QWidget& window);

// The stored place (the frame's top left) and inner size in pixels, moved
// and sized onto the screen that shows most of it: the whole window with
// its `frame` on that screen, not smaller than the least size. Nothing of
// it on any screen: the design place, at a size that fits.
QRect stored_place_on_a_screen(const WindowPlace& stored, const QPoint& design_place, const TwipScale& scale,
                               const QMargins& frame);

}  // namespace jukora
