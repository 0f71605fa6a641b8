// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/twips.h"

#include <gtest/gtest.h>

namespace jukora {
namespace {

TEST(Twips, ConvertAtTheDpiTheyAreShownAt) {
  struct Case {
    double twips;
    UINT dpi;
    int px;
  };
  for (const Case& c : {Case{1440, 96, 96}, Case{1440, 144, 144}, Case{1000, 96, 67}, Case{1000, 144, 100},
                        Case{10035, 96, 669}, Case{10035, 144, 1004}, Case{-300, 144, -30}}) {
    EXPECT_EQ(twips_to_px(c.twips, c.dpi), c.px) << c.twips << " at " << c.dpi;
    EXPECT_NEAR(px_to_twips(c.px, c.dpi), c.twips, 1440.0 / c.dpi / 2) << c.px << " at " << c.dpi;
  }
}

TEST(Twips, APlaceIsAtTheSystemDpiAndASizeAtTheWindows) {
  const WindowPlace place{1440, 2880, 7200, 14400};
  const RECT at_96_in_144 = place_to_pixels(place, 96, 144);
  EXPECT_EQ(at_96_in_144.left, 192);
  EXPECT_EQ(at_96_in_144.top, 96);
  EXPECT_EQ(at_96_in_144.right - at_96_in_144.left, 1440);
  EXPECT_EQ(at_96_in_144.bottom - at_96_in_144.top, 720);

  const WindowPlace back = pixels_to_place(at_96_in_144, 96, 144);
  EXPECT_DOUBLE_EQ(back.top, place.top);
  EXPECT_DOUBLE_EQ(back.left, place.left);
  EXPECT_DOUBLE_EQ(back.height, place.height);
  EXPECT_DOUBLE_EQ(back.width, place.width);

  const RECT all_144 = place_to_pixels(place, 144, 144);
  EXPECT_EQ(all_144.left, 288);
  EXPECT_EQ(all_144.right - all_144.left, 1440);
}

}  // namespace
}  // namespace jukora
