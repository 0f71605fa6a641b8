// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace jukora {

namespace {

// A restored window is never smaller than this: both buttons and a strip of
// the grid show.
constexpr double kLeastWidth = 3000;
constexpr double kLeastHeight = 1500;
// How much of the title bar stays on the screen, so it can be taken hold of.
constexpr int kGripPixels = 100;

// Stored geometry as pixels. Hand-edited or corrupted settings can hold any
// number; far beyond every screen is as good as the edge of the range.
int stored_px(double twips, int (TwipScale::*to_px)(double) const, const TwipScale& scale) {
  return (scale.*to_px)(std::clamp(twips, -1e7, 1e7));
}

// `wanted` moved and sized onto the screen that shows most of it: no larger
// than that screen, not smaller than the least size, its title bar on it.
// Nothing of it on any screen: the design place, at a size that fits.
QRect onto_a_screen(const QRect& wanted, const QPoint& design_place, const QSize& least) {
  const QScreen* best = QGuiApplication::primaryScreen();
  qint64 best_area = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect shared = screen->availableGeometry().intersected(wanted);
    const qint64 area = qint64{shared.width()} * shared.height();
    if (!shared.isEmpty() && area > best_area) {
      best = screen;
      best_area = area;
    }
  }
  if (!best) return wanted;
  const QRect area = best->availableGeometry();
  QRect placed(best_area > 0 ? wanted.topLeft() : design_place, wanted.size());
  placed.setWidth(std::min(std::max(placed.width(), least.width()), area.width()));
  placed.setHeight(std::min(std::max(placed.height(), least.height()), area.height()));
  const int grip = std::min(kGripPixels, placed.width());
  placed.moveLeft(std::clamp(placed.left(), area.left() - placed.width() + grip, area.right() + 1 - grip));
  placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - std::min(kGripPixels, placed.height())));
  return placed;
}

}  // namespace

WindowPlace place_in_twips(const QWidget& window, const TwipScale& scale) {
  return {scale.y_twips(window.y()), scale.x_twips(window.x()), scale.y_twips(window.height()),
          scale.x_twips(window.width())};
}

bool on_some_screen(const QRect& frame) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(),
                     [&](const QScreen* screen) { return screen->availableGeometry().intersects(frame); });
}

QRect stored_place_on_a_screen(const WindowPlace& stored, const QPoint& design_place, const TwipScale& scale) {
  // A place saved on a screen that is gone, or a size of nothing or of
  // miles, would leave the window out of reach.
  return onto_a_screen(
      QRect(stored_px(stored.left, &TwipScale::x_px, scale), stored_px(stored.top, &TwipScale::y_px, scale),
            stored_px(stored.width, &TwipScale::x_px, scale), stored_px(stored.height, &TwipScale::y_px, scale)),
      design_place, QSize(scale.x_px(kLeastWidth), scale.y_px(kLeastHeight)));
}

}  // namespace jukora
