// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace jukora {

namespace {

// A restored window is never smaller than this: both buttons and a strip of
// the grid show.
constexpr double kLeastWidth = 3000;
constexpr double kLeastHeight = 1500;

// Stored geometry as pixels. Hand-edited or corrupted settings can hold any
// number; far beyond every screen is as good as the edge of the range.
int stored_px(double twips, int (TwipScale::*to_px)(double) const, const TwipScale& scale) {
  return (scale.*to_px)(std::clamp(twips, -1e7, 1e7));
}

// `wanted` (the frame's top left, the inner size) moved and sized onto the
// screen that shows most of it: the whole window with its `frame`, no
// larger than that screen's free area, not smaller than the least size.
// Nothing of it on any screen: the design place, at a size that fits.
QRect onto_a_screen(const QRect& wanted, const QPoint& design_place, const QSize& least, const QMargins& frame) {
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
  const int across = frame.left() + frame.right(), down = frame.top() + frame.bottom();
  QRect placed(best_area > 0 ? wanted.topLeft() : design_place, wanted.size());
  placed.setWidth(std::max(1, std::min(std::max(placed.width(), least.width()), area.width() - across)));
  placed.setHeight(std::max(1, std::min(std::max(placed.height(), least.height()), area.height() - down)));
  placed.moveLeft(
      std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() + 1 - placed.width() - across)));
  placed.moveTop(
      std::clamp(placed.top(), area.top(), std::max(area.top(), area.bottom() + 1 - placed.height() - down)));
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

QMargins frame_of(const QWidget& window) {
  const QRect frame = window.frameGeometry(), inner = window.geometry();
  if (frame != inner)
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  // Not shown yet, the frame the window manager will add is unknown: the
  // style's title bar and border stand in for it.
  const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
  return {border, border + window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), border, border};
}

QRect stored_place_on_a_screen(const WindowPlace& stored, const QPoint& design_place, const TwipScale& scale,
                               const QMargins& frame) {
  // A place saved on a screen that is gone, or a size of nothing or of
  // miles, would leave the window out of reach.
  return onto_a_screen(
      QRect(stored_px(stored.left, &TwipScale::x_px, scale), stored_px(stored.top, &TwipScale::y_px, scale),
            stored_px(stored.width, &TwipScale::x_px, scale), stored_px(stored.height, &TwipScale::y_px, scale)),
      design_place, QSize(scale.x_px(kLeastWidth), scale.y_px(kLeastHeight)), frame);
}

}  // namespace jukora
