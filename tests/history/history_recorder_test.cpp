// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_recorder.h"

#include <gtest/gtest.h>

#include <tuple>

#include "history/history_store.h"
#include "history/songs_per_score.h"
#include "history/source_names.h"
#include "songlist/songlist.h"

namespace jukora::testing {
namespace {

// Keeps what it is given; commits what `commits` allows.
class FakeStore : public HistoryStore {
 public:
  std::uint64_t append(std::vector<HistoryEvent> events) override {
    batches.push_back(std::move(events));
    return batches.size();
  }
  bool wait_committed(std::uint64_t ticket, std::chrono::milliseconds bound) override {
    waits.emplace_back(ticket, bound);
    return commits;
  }
  void song_history(std::string, std::string, std::function<void(std::vector<HistoryEvent>)>) override {}
  void weekly_activity(std::int64_t, int, std::function<void(WeeklyActivity)>) override {}

  std::vector<std::vector<HistoryEvent>> batches;
  std::vector<std::pair<std::uint64_t, std::chrono::milliseconds>> waits;
  bool commits = true;
};

TEST(HistoryRecorder, KeepsEachStepAsOneBatchStampedWithItsTimeAndWaitsOnlyBriefly) {
  SongEvents events;
  FakeStore store;
  std::int64_t now = 1000;
  HistoryRecorder recorder(events, store, [&now] { return now; });
  events.scores_changed({{"/m", "a.mp3", 1, 2, ChangeSource::kTray}, {"/m", "b.mp3", 0, -1, ChangeSource::kUndo}});
  now = 2000;
  store.commits = false;  // a store that cannot commit in time holds nobody up
  events.handed_over({"/m", "a.mp3", PlayKind::kDirect});
  events.scores_changed({});  // nothing changed: nothing kept

  ASSERT_EQ(store.batches.size(), 2u);
  ASSERT_EQ(store.batches[0].size(), 2u);
  EXPECT_EQ(store.batches[0][1].time, 1000);
  EXPECT_EQ(store.batches[0][1].file(), "b.mp3");
  EXPECT_EQ(std::get<ScoreChange>(store.batches[0][1].what).source, ChangeSource::kUndo);
  EXPECT_EQ(store.batches[1][0].time, 2000);
  EXPECT_EQ(std::get<HandedOver>(store.batches[1][0].what).kind, PlayKind::kDirect);
  using Wait = std::pair<std::uint64_t, std::chrono::milliseconds>;
  EXPECT_EQ(store.waits, (std::vector<Wait>{{1, HistoryRecorder::kCommitWait}, {2, HistoryRecorder::kCommitWait}}));
}

TEST(HistorySourceNames, ANameFromAnotherProgramIsNoSource) {
  EXPECT_EQ(source_from_name("Tray"), std::nullopt);
  EXPECT_EQ(source_from_name(""), std::nullopt);
}

TEST(SongsPerScore, OneBarAScoreOrEvenRangesWhenTheyAreTooMany) {
  using Bars = std::vector<std::tuple<std::int64_t, std::int64_t, int>>;
  // Scores as the list holds them, the bars allowed, the bars made.
  const std::tuple<std::vector<std::string>, int, Bars> cases[] = {
      {std::vector<std::string>{}, 20, Bars{}},
      {{"2", "0", "2", "-1"}, 20, {{-1, -1, 1}, {0, 0, 1}, {1, 1, 0}, {2, 2, 2}}},
      // Read as a score step reads them: halves to even, text as 0.
      {{"2.5", "x", "0.5", "3.5"}, 20, {{0, 0, 2}, {1, 1, 0}, {2, 2, 1}, {3, 3, 0}, {4, 4, 1}}},
      {{"0", "9", "10", "25"}, 3, {{0, 8, 1}, {9, 17, 2}, {18, 25, 1}}},
      {{"-2147483648", "2147483647"}, 2, {{-2147483648, -1, 1}, {0, 2147483647, 1}}},
  };
  for (const auto& [scores, max_bars, expected] : cases) {
    Songlist songlist;
    for (const std::string& score : scores) songlist.add_cells({"", "/m", "s.mp3", score});
    Bars bars;
    for (const ScoreBar& bar : songs_per_score(songlist, max_bars)) bars.emplace_back(bar.low, bar.high, bar.songs);
    EXPECT_EQ(bars, expected) << scores.size() << " songs, " << max_bars << " bars";
  }
}

}  // namespace
}  // namespace jukora::testing
