// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/import_plan.h"

#include <gmock/gmock.h>

#include <ctime>
#include <filesystem>
#include <tuple>

#include "platform/files.h"
#include "songlist/date_text.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;

// Unix seconds of 14:05 6/12/2031, local time, and its text.
std::int64_t in_2031() {
  std::tm tm{};
  tm.tm_year = 131, tm.tm_mon = 5, tm.tm_mday = 12, tm.tm_hour = 14, tm.tm_min = 5, tm.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}
constexpr const char* k2031 = "14:05 6/12/31";

class ImportTest : public ::testing::Test, protected SavedSonglist {
 protected:
  ImportTest() {
    std::filesystem::create_directories(music);
    for (const char* name : {"listed.mp3", "zero.mp3", "played.mp3", "new.mp3", "new two.ogg", "unrated.mp3"})
      write_bytes(song(name), "x");
    songlist.add_cells({"", music, "listed.mp3", "5", "", "", "10:00 1/2/20"});
    songlist.add_cells({"", music, "zero.mp3", "0", "", "", "00:00 1/1/71"});
    songlist.add_cells({"", music, "played.mp3", "0", "", "", "10:00 1/2/35"});
    recompute_songlist(songlist);
    read.songs = {
        {song("listed.mp3"), ReadRating::rated(8), in_2031()},
        {song("zero.mp3"), ReadRating::rated(7), {}},
        {song("played.mp3"), ReadRating::rated(2), in_2031()},  // 2035 is later: kept
        {song("new.mp3"), ReadRating::rated(10), in_2031()},
        {song("new two.ogg"), ReadRating::rated(0), {}},
        {song("unrated.mp3"), ReadRating::unrated(), in_2031()},
        {song("gone.mp3"), ReadRating::rated(6), {}},
        {song("new.mp3"), ReadRating::rated(2), {}},
        {song("odd.mp3"), ReadRating::impossible(), {}},
        {"relative/song.mp3", ReadRating::rated(4), {}},
    };
    read.not_local = 2;
  }
  std::string song(const std::string& name) const { return join_path(music, name); }
  ImportPlan plan() const {
    return plan_import(songlist, read, "Rhythmbox", rule, [](const std::string& path) { return is_file(path); });
  }
  std::vector<std::tuple<std::string, std::string, std::string>> rows() const {
    std::vector<std::tuple<std::string, std::string, std::string>> out;
    for (int i = 1; i < songlist.Rows(); ++i)
      out.emplace_back(songlist.TextMatrix(i, col::kFile), songlist.TextMatrix(i, col::kScore),
                       songlist.TextMatrix(i, col::kLastPlayed));
    return out;
  }

  std::string music = (temp.path() / "music").string();
  SourceRead read;
  RatingRule rule;
};

TEST_F(ImportTest, PreviewNamesEverySongOnceAndCountsTheRest) {
  rule.set_score(10, 12);
  const ImportPlan p = plan();
  std::vector<std::tuple<std::string, bool, bool, std::string, int, std::int64_t, std::string>> seen;
  for (const PlannedSong& s : p.songs)
    seen.emplace_back(s.file, s.listed, s.untouched, s.score_now, s.half_stars, s.score_after, s.last_played_after);
  EXPECT_THAT(seen, ElementsAre(std::tuple("listed.mp3", true, false, "5", 8, 8, k2031),
                                std::tuple("zero.mp3", true, true, "0", 7, 7, ""),
                                std::tuple("played.mp3", true, false, "0", 2, 2, ""),
                                std::tuple("new.mp3", false, false, "", 10, 12, k2031),
                                std::tuple("new two.ogg", false, false, "", 0, 0, "")));
  EXPECT_EQ(std::tie(p.unrated, p.missing, p.impossible, p.repeated), std::tuple(1u, 1u, 1u, 1u));
  EXPECT_EQ(p.not_local, 3u);
}

TEST_F(ImportTest, EachChoiceTakesTheSongsOfTheOneBeforeItAndEveryLaterLastPlayed) {
  const std::tuple<ImportChoice, std::size_t, std::size_t, std::size_t, std::size_t, const char*> cases[] = {
      {ImportChoice::kNewSongs, 2, 0, 3, 1,
       "Imported 2 ratings: 2 added, 0 updated, 10 skipped (1 unrated, 1 missing file, 3 not chosen, "
       "1 impossible value, 3 not local files, 1 listed twice in the source). The source's later Last Played was "
       "taken for 1 song not chosen."},
      {ImportChoice::kUntouchedSongs, 2, 1, 2, 1, nullptr},
      {ImportChoice::kAllMatched, 2, 3, 0, 0, nullptr},
  };
  for (auto [choice, added, updated, not_chosen, played_later, summary] : cases) {
    const ImportOutcome outcome = outcome_of(plan(), choice);
    EXPECT_EQ(std::tie(outcome.added, outcome.updated, outcome.not_chosen, outcome.played_later),
              std::tie(added, updated, not_chosen, played_later));
    if (summary) {
      EXPECT_EQ(summary_line(plan(), outcome), summary);
    }
  }
  // A song played later in the other player keeps its score, takes the
  // play, and the import's undo takes that back too.
  const ImportOutcome outcome = apply_import(songlist, files, plan(), ImportChoice::kNewSongs);
  EXPECT_EQ(change_lines(outcome)[0],
            "~ " + song("listed.mp3") + ": Last Played 10:00 1/2/20 -> " + std::string(k2031));
  EXPECT_THAT(rows(), ::testing::Contains(std::tuple("listed.mp3", "5", k2031)));
  ASSERT_TRUE(files.undo());
  EXPECT_THAT(rows(), ::testing::Contains(std::tuple("listed.mp3", "5", "10:00 1/2/20")));
  EXPECT_EQ(songlist.Rows(), 4);
}

TEST_F(ImportTest, ApplyIsOneStepThatItsRecordTakesBackWhole) {
  const auto before = rows();
  const ImportPlan p = plan();
  songlist.SetRow(songlist.find(music, "zero.mp3", 1, songlist.Rows() - 1));
  const ImportOutcome outcome = apply_import(songlist, files, p, ImportChoice::kAllMatched);
  EXPECT_EQ(songlist.TextMatrix(songlist.Row(), col::kFile), "zero.mp3") << "the current row follows its song";

  EXPECT_THAT(rows(),
              ElementsAre(std::tuple("new.mp3", "10", k2031), std::tuple("listed.mp3", "8", k2031),
                          std::tuple("zero.mp3", "7", "00:00 1/1/71"), std::tuple("played.mp3", "2", "10:00 1/2/35"),
                          std::tuple("new two.ogg", "0", "00:00 1/1/71")));
  EXPECT_NE(read_bytes(default_songlist_path(folders)).find("\"new two.ogg\",\"0\""), std::string::npos);
  EXPECT_EQ(summary_line(p, outcome),
            "Imported 5 ratings: 2 added, 3 updated, 7 skipped (1 unrated, 1 missing file, "
            "1 impossible value, 3 not local files, 1 listed twice in the source).");
  EXPECT_THAT(change_lines(outcome_of(p, ImportChoice::kUntouchedSongs)),
              ElementsAre("~ " + song("listed.mp3") + ": Last Played 10:00 1/2/20 -> " + std::string(k2031),
                          "~ " + song("zero.mp3") + ": score 0 -> 7", "+ " + song("new.mp3") + ": new, score 10",
                          "+ " + song("new two.ogg") + ": new, score 0"));
  EXPECT_EQ(change_lines(outcome)[0],
            "~ " + song("listed.mp3") + ": score 5 -> 8, Last Played 10:00 1/2/20 -> " + std::string(k2031));

  // What an undo needs: every song's rows and texts before and after.
  for (const SongChange& change : outcome.changes) {
    ASSERT_GT(change.row_after, 0);
    EXPECT_EQ(songlist.TextMatrix(change.row_after, col::kFile), change.file);
    EXPECT_EQ(songlist.TextMatrix(change.row_after, col::kScore), change.score_after);
    EXPECT_EQ(songlist.TextMatrix(change.row_after, col::kLastPlayed), change.last_played_after);
  }
  for (auto it = outcome.changes.rbegin(); it != outcome.changes.rend(); ++it) {
    const int row = songlist.find(it->directory, it->file, 1, songlist.Rows() - 1);
    if (it->added) {
      songlist.RemoveItem(row);
      continue;
    }
    songlist.SetTextMatrix(row, col::kScore, it->score_before);
    songlist.SetTextMatrix(row, col::kLastPlayed, it->last_played_before);
  }
  recompute_songlist(songlist);
  EXPECT_EQ(rows(), before);
  for (const SongChange& change : outcome.changes)
    if (!change.added) {
      EXPECT_EQ(songlist.TextMatrix(change.row_before, col::kFile), change.file);
    }
}

TEST_F(ImportTest, EmptyListGetsOnlyTheNewSongsAndNothingChosenSavesNothing) {
  songlist.Clear();
  songlist.AddItem("");
  apply_import(songlist, files, plan(), ImportChoice::kNewSongs);
  EXPECT_EQ(songlist.Rows(), 6);
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "new.mp3");

  std::filesystem::remove(default_songlist_path(folders));
  const ImportOutcome again = apply_import(songlist, files, plan(), ImportChoice::kNewSongs);
  EXPECT_EQ(again.added + again.updated, 0u);
  EXPECT_FALSE(std::filesystem::exists(default_songlist_path(folders)));
  EXPECT_EQ(summary_line(plan(), again, true).substr(0, 25), "Would import 0 ratings: 0");
}

}  // namespace
}  // namespace jukora::testing
