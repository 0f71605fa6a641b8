#include <gtest/gtest.h>

#include <cstdio>

#include "songlist/date_text.h"

namespace jukora {
namespace {

std::optional<std::int64_t> general(std::string_view text, int year) {
  auto when = parse_date_text(text, year);
  if (!when) return std::nullopt;
  return hour_number(*when);
}

TEST(ParseHourNumber, AgreesWithTheGeneralParser) {
  char text[64];
  int checked = 0;
  for (int hour : {0, 9, 23, 24})
    for (int minute : {0, 59, 60})
      for (int month = 0; month <= 13; ++month)
        for (int day = 0; day <= 32; ++day)
          for (int year : {0, 24, 25, 71, 99})
            for (const char* form : {"%02d:%02d %d/%d/%02d", "%02d:%02d %02d/%02d/%02d", "%02d:%02d %d/%d/%d"}) {
              std::snprintf(text, sizeof text, form, hour, minute, month, day, year);
              ASSERT_EQ(parse_hour_number(text, 2026), general(text, 2026)) << text;
              ++checked;
            }
  for (const char* other : {"", " 10:15 6/12/01", "10:15 6/12/01 ", "1:15 6/12/01", "10:15:30 6/12/01", "6/12/01",
                            "10:15 6/12/2001", "10:15 6-12-01", "ab:cd 6/12/01", "10:15 6/1201", "10:15 /12/01"})
    EXPECT_EQ(parse_hour_number(other, 2026), general(other, 2026)) << other;
  EXPECT_GT(checked, 40000);
  EXPECT_EQ(*parse_hour_number("00:00 3/1/24", 2026) - *parse_hour_number("23:59 2/28/24", 2026), 25);
  EXPECT_EQ(parse_hour_number("23:59 2/29/24", 2026), general("23:59 2/29/24", 2026));
  EXPECT_FALSE(parse_hour_number("23:59 2/29/25", 2026));
}

}  // namespace
}  // namespace jukora
