// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>

#include "songlist/date_text.h"

namespace jukora {
namespace {

// The fast reading of the program's own form must agree with the general one.
TEST(ParseHourNumber, AgreesWithParseDateText) {
  std::vector<std::string> texts = {"",        " 10:15 6/12/01",  "10:15 6/12/01 ", "1:15 6/12/01",  "10:15:30 6/12/01",
                                    "6/12/01", "10:15 6/12/2001", "10:15 6-12-01",  "ab:cd 6/12/01", "10:15 6/1201"};
  char text[64];
  for (int hour : {0, 23, 24})
    for (int minute : {0, 59, 60})
      for (int month = 0; month <= 13; ++month)
        for (int day = 0; day <= 32; ++day)
          for (int year : {0, 24, 25, 71})
            for (const char* form : {"%02d:%02d %d/%d/%02d", "%02d:%02d %02d/%02d/%02d", "%02d:%02d %d/%d/%d"})
              texts.emplace_back(text, std::snprintf(text, sizeof text, form, hour, minute, month, day, year));
  for (const auto& t : texts) {
    auto when = parse_date_text(t, 2026);
    ASSERT_EQ(parse_hour_number(t, 2026), when ? std::optional(hour_number(*when)) : std::nullopt) << t;
  }
}

}  // namespace
}  // namespace jukora
