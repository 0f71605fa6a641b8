// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "platform/app_folders.h"
#include "platform/local_path.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/paths.h"

namespace jukora {
namespace {

TEST(DateText, WritesAndReadsTheProgramsFormAndRefusesWhatIsNotADate) {
  EXPECT_EQ(format_date_text({2001, 6, 12, 14, 5, 0}), "14:05 6/12/01");
  EXPECT_EQ(format_date_text({2030, 12, 31, 0, 0, 59}), "00:00 12/31/30");
  auto when = parse_date_text("14:05 6/12/01", 2026);
  ASSERT_TRUE(when);
  EXPECT_EQ(*when, (DateTime{2001, 6, 12, 14, 5, 0}));
  EXPECT_EQ(parse_date_text(kNeverPlayed, 2026)->year, 1971);
  EXPECT_EQ(parse_date_text("00:00 1/1/30", 2026)->year, 2030);
  EXPECT_EQ(parse_date_text(kNeverPlayed, 2060)->year, 1971) << "never played stays in the past";
  EXPECT_EQ(parse_date_text("00:00 1/1/70", 2060)->year, 2070);
  EXPECT_EQ(parse_date_text("9:07:30 02/29/2024", 2026)->second, 30);
  EXPECT_EQ(parse_date_text("1/2/03", 2026)->day, 2);
  for (const char* text : {"", " ", "never", "25:00 1/1/01", "10:60 1/1/01", "10:00 13/1/01", "10:00 2/29/01",
                           "10:00 1/1/01 extra", "10:00", "1/1"})
    EXPECT_FALSE(parse_date_text(text, 2026)) << text;
}

TEST(DateText, HourNumbersCountClockHourBoundaries) {
  DateTime before{2026, 12, 31, 23, 59, 0};
  DateTime after{2027, 1, 1, 0, 0, 0};
  EXPECT_EQ(hour_number(after) - hour_number(before), 1);
  EXPECT_EQ(hour_number({2024, 3, 1, 0, 0, 0}) - hour_number({2024, 2, 28, 0, 0, 0}), 48);
  // And back, across leap days, centuries and the origin.
  for (const DateTime when : {before, DateTime{2024, 2, 29, 7}, DateTime{2000, 3, 1}, DateTime{1900, 2, 28, 23},
                              DateTime{1969, 12, 31, 23}, DateTime{1971, 1, 1}})
    EXPECT_EQ(time_of_hour(hour_number(when)), (DateTime{when.year, when.month, when.day, when.hour}));
}

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

TEST(Paths, OnlyLocalFilePathsAreFiles) {
#ifdef _WIN32
  const std::pair<const char*, bool> cases[] = {
      {"C:\\Music\\a.mp3", true}, {"e:\\a.mp3", true}, {"\\\\host\\share\\a.mp3", true}, {"\\\\?\\C:\\a.mp3", false},
      {"\\\\.\\pipe\\x", false},  {"\\\\host", false}, {"\\\\\\share\\a.mp3", false},    {"C:a.mp3", false},
      {"C:/a.mp3", false},        {"/a.mp3", false},   {"https://x/a.mp3", false},       {"", false}};
#else
  const std::pair<const char*, bool> cases[] = {{"/home/me/a.mp3", true},
                                                {"/", true},
                                                {"av://lavfi:anullsrc,ametadata=mode=print:file=/home/me/x", false},
                                                {"https://host/a.mp3", false},
                                                {"file:///home/me/a.mp3", false},
                                                {"Music/a.mp3", false},
                                                {"-o/x", false},
                                                {"", false}};
#endif
  for (const auto& [path, local] : cases) EXPECT_EQ(is_local_file_path(path), local) << path;
  EXPECT_FALSE(is_local_file_path(std::string_view("/a\0b.mp3", 8)));
}

TEST(Numbers, ScoreStepsSaturateAndRepair) {
  EXPECT_EQ(stepped_score("5", 1), "6");
  EXPECT_EQ(stepped_score("0", -1), "-1");
  EXPECT_EQ(stepped_score("abc", 1), "1");
  EXPECT_EQ(stepped_score("2.5", 1), "3");
  EXPECT_EQ(stepped_score("2147483647", 1), "2147483647");
  EXPECT_EQ(stepped_score("-2147483648", -1), "-2147483648");
  EXPECT_EQ(stepped_score("1e30", 1), "2147483647");
  EXPECT_EQ(rank_text(100.0), "100");
  EXPECT_EQ(rank_text(200.0 / 3), "66.67");
  EXPECT_EQ(rank_text(12.5), "12.5");
  EXPECT_EQ(rank_text(3.125), "3.12");
  EXPECT_EQ(rank_text(0.625), "0.62");
  // Ranks of 4000 rows whose q lies just off a half: rounding q * 100 would
  // take them to the wrong neighbour.
  EXPECT_EQ(rank_text(3993.0 / 4000 * 100), "99.83");
  EXPECT_EQ(rank_text(3987.0 / 4000 * 100), "99.67");
  EXPECT_EQ(rank_text(1.0 / 3 * 100), "33.33");
}

TEST(Paths, SplitOnTheNativeSeparator) {
  std::string sep(1, kPathSeparator);
  std::string path = sep + "music" + sep + "rock" + sep + "Song 2.MP3";
  EXPECT_EQ(get_file_name(path), "Song 2.MP3");
  EXPECT_EQ(get_dir_name(path), sep + "music" + sep + "rock");
  EXPECT_EQ(get_extension(path), "MP3");
  EXPECT_EQ(get_file_name("plain"), "plain");
  EXPECT_EQ(get_dir_name("plain"), "");
  EXPECT_EQ(get_dir_name(sep + "top"), "");
  EXPECT_EQ(get_file_name("dir" + sep), "");
  EXPECT_EQ(get_extension("a.dir" + sep + "noext"), "dir" + sep + "noext");
  EXPECT_EQ(get_extension("noext"), "");
}

TEST(Paths, ARootJoinsWithOneSeparatorAndKeepsItsSongsDirectory) {
  // Folder, name, and the path they join to.
  using Join = std::tuple<const char*, const char*, const char*>;
#ifdef _WIN32
  const Join joins[] = {{"E:\\", "Music", "E:\\Music"},
                        {"E:", "a.mp3", "E:\\a.mp3"},
                        {"E:\\Music", "a.mp3", "E:\\Music\\a.mp3"},
                        {"\\\\host\\share", "a.mp3", "\\\\host\\share\\a.mp3"},
                        {"", "", "\\"}};
  EXPECT_EQ(song_directory("E:\\a.mp3"), "E:");
  EXPECT_EQ(song_directory("\\a.mp3"), "");
#else
  const Join joins[] = {{"/", "usr", "/usr"}, {"/music", "a.mp3", "/music/a.mp3"}, {"", "", "/"}};
  EXPECT_EQ(song_directory("/a.mp3"), "/");
  EXPECT_EQ(song_directory("/music/a.mp3"), "/music");
#endif
  for (const auto& [dir, name, path] : joins) EXPECT_EQ(join_path(dir, name), path) << dir;
  EXPECT_EQ(song_directory("a.mp3"), "");
}

}  // namespace
}  // namespace jukora
