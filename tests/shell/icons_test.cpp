// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <vector>

namespace jukora {
namespace {

bool black(QRgb pixel) { return qAlpha(pixel) == 255 && qGray(pixel) < 16; }
bool white(QRgb pixel) { return qAlpha(pixel) == 255 && qGray(pixel) > 240; }

TEST(Icons, AreFiveDifferentWhiteDiscsWithBlackSignsOnClearGround) {
  std::vector<QImage> seen;
  for (auto make : {minus_icon, plus_icon, arrow_icon, page_icon, mode_icon}) {
    const QImage image = make().pixmap(32, 32).toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    int blacks = 0, whites = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        blacks += black(image.pixel(x, y));
        whites += white(image.pixel(x, y));
      }
    EXPECT_GT(blacks, 40);
    EXPECT_GT(whites, 300);
    for (QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
      EXPECT_EQ(qAlpha(image.pixel(corner)), 0);
    for (const QImage& other : seen) EXPECT_NE(image, other) << seen.size();
    seen.push_back(image);
  }
}

TEST(Icons, TheProgramHasAnIconOfItsOwnAtTheUsualSizes) {
  const QIcon icon = app_icon();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
  const QImage image = icon.pixmap(32, 32).toImage();
  for (auto button : {minus_icon, plus_icon, arrow_icon, page_icon, mode_icon})
    EXPECT_NE(image, button().pixmap(32, 32).toImage());
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(16, 16)), 255);
}

TEST(Icons, AreSharpAtEverySizeAndPixelRatio) {
  // The minus bar fills whole pixel rows, with no blurred row above it.
  for (auto [size, ratio] : {std::pair{32, 1.0}, std::pair{16, 1.0}, std::pair{32, 2.0}}) {
    const QImage image = minus_icon().pixmap(QSize(size, size), ratio).toImage();
    const int pixels = qRound(size * ratio);
    ASSERT_EQ(image.width(), pixels);
    const int top = pixels * 14 / 32, middle = pixels / 2;
    EXPECT_TRUE(black(image.pixel(middle, top))) << size << "@" << ratio;
    EXPECT_TRUE(white(image.pixel(middle, top - 1))) << size << "@" << ratio;
  }
}

}  // namespace
}  // namespace jukora
