// SPDX-License-Identifier: GPL-3.0-or-later
// Window lengths in twips, 1440 to the inch, converted with the logical DPI
// of the screen a window is on.
#pragma once

#include <QWidget>

namespace jukora {

inline constexpr double kTwipsPerInch = 1440.0;

class TwipScale {
 public:
  TwipScale(double dpi_x, double dpi_y) : dpi_x_(dpi_x), dpi_y_(dpi_y) {}
  // The screen of `widget`, or the primary screen before it has one.
  static TwipScale of(const QWidget& widget);

  int x_px(double twips) const { return qRound(twips * dpi_x_ / kTwipsPerInch); }
  int y_px(double twips) const { return qRound(twips * dpi_y_ / kTwipsPerInch); }
  double x_twips(int px) const { return px * kTwipsPerInch / dpi_x_; }
  double y_twips(int px) const { return px * kTwipsPerInch / dpi_y_; }

 private:
  double dpi_x_, dpi_y_;
};

}  // namespace jukora
