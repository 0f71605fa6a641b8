// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/replay_words.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "songlist/recompute.h"
#include "songlist/songlist.h"

namespace jukora::testing {
namespace {

constexpr const char* kStopped = "Random All stopped: every song ";

TEST(ReplayWords, ACycleThatFoundEverySongHeldBackSaysWhenTheFirstMayPlayAgain) {
  struct Case {
    const char* what;
    std::int32_t hours;
    DateTime now;
    std::vector<const char*> played;
    std::string words;  // after kStopped; empty: nothing to say
  };
  const Case cases[] = {
      {"0 hours: the next full hour",
       0,
       {2026, 5, 1, 18, 20},
       {"18:05 5/1/26", "18:19 5/1/26"},
       "has played this hour; with 0 hours they may play again from 19:00."},
      {"the day's last hour",
       0,
       {2026, 12, 31, 23, 30},
       {"23:01 12/31/26"},
       "has played this hour; with 0 hours they may play again from 00:00 tomorrow."},
      {"the earliest song of the list",
       24,
       {2026, 6, 12, 10, 15},
       {"10:15 6/12/26", "23:00 6/11/26", "09:40 6/12/26"},
       "was played too recently; with 24 hours the first may play again from 00:00 tomorrow."},
      {"one hour",
       1,
       {2026, 12, 6, 11, 0},
       {"10:30 12/6/26", "11:00 12/6/26"},
       "was played too recently; with 1 hour the first may play again from 12:00."},
      {"days ahead, into the next month",
       48,
       {2026, 6, 30, 11, 0},
       {"10:00 6/30/26"},
       "was played too recently; with 48 hours the first may play again from 11:00 on 7/2/26."},
      {"a Last Played ahead of the clock",
       5,
       {2026, 5, 1, 18, 20},
       {"20:00 5/1/26"},
       "was played too recently; with 5 hours the first may play again from 02:00 tomorrow."},
      {"a limit of years",
       INT32_MAX,
       {2026, 5, 1, 18, 20},
       {"18:00 5/1/26"},
       "was played too recently; with 2147483647 hours none may play again for years."},
      {"a song that may play", 3, {2026, 5, 1, 18, 20}, {"18:00 5/1/26", "00:00 1/1/71"}, ""},
      {"a song from the hour before, under 0 hours", 0, {2026, 5, 1, 18, 20}, {"17:59 5/1/26"}, ""},
      {"no song", 0, {2026, 5, 1, 18, 20}, {}, ""},
  };
  for (const Case& c : cases) {
    Songlist list;
    for (std::size_t i = 0; i < c.played.size(); ++i)
      list.add_cells({"", "/music", std::to_string(i) + ".mp3", "1", "", "", c.played[i]});
    recompute_songlist(list);
    EXPECT_EQ(random_all_held_words(list, c.hours, c.now), c.words.empty() ? "" : kStopped + c.words) << c.what;
  }
}

TEST(ReplayWords, TheNoteBesideTheHoursBoxSaysWhenASongPlayedNowMayPlayAgain) {
  struct Case {
    std::int32_t hours;
    DateTime now;
    const char* note;
  };
  const Case cases[] = {
      {0, {2026, 5, 1, 18, 20}, "Played now, a song may play again from 19:00."},
      {24, {2026, 5, 1, 18, 20}, "Played now, a song may play again from 19:00 tomorrow."},
      {72, {2026, 5, 30, 18, 20}, "Played now, a song may play again from 19:00 on 6/2/26."},
      {47, {2026, 12, 31, 23, 10}, "Played now, a song may play again from 23:00 on 1/2/27."},
      {-1, {2026, 5, 1, 18, 20}, "Played now, a song may play again at once."},
      {INT32_MAX, {2026, 5, 1, 18, 20}, "Played now, a song may not play again for years."},
  };
  for (const Case& c : cases) EXPECT_EQ(replay_note(c.hours, c.now), c.note) << c.hours;
}

}  // namespace
}  // namespace jukora::testing
