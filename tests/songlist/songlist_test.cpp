// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <random>
#include <set>

#include "songlist/numbers.h"
#include "songlist/recompute.h"

namespace jukora {
namespace {

std::vector<std::string> column(const Songlist& songlist, int col) {
  std::vector<std::string> out;
  for (int i = 1; i < songlist.Rows(); ++i) out.emplace_back(songlist.TextMatrix(i, col));
  return out;
}

std::unique_ptr<Songlist> with_scores(std::initializer_list<const char*> scores) {
  auto songlist = std::make_unique<Songlist>();
  int n = 0;
  for (const char* score : scores) songlist->add_cells({"", "/music", "song" + std::to_string(++n), score});
  return songlist;
}

TEST(Songlist, AddItemSplitsAtTabsAndIgnoresSurplusCells) {
  Songlist songlist;
  songlist.AddItem("\t/music\ta.mp3\t5");
  songlist.AddItem("1\t2\t3\t4\t5\t6\t7\t8\t9");
  ASSERT_EQ(songlist.Rows(), 3);
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "a.mp3");
  EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), "");
  EXPECT_EQ(songlist.TextMatrix(2, col::kLastPlayed), "7");
  EXPECT_EQ(songlist.TextMatrix(9, 1), "");  // outside the table reads empty
}

TEST(Songlist, IndexFollowsEveryKindOfRowChange) {
  Songlist songlist;
  songlist.add_cells({"", "/a", "x.mp3"});
  songlist.add_cells({"", "/a", "x.mp3"});  // listed twice
  songlist.add_cells({"", "/b", "y.mp3"});
  EXPECT_TRUE(songlist.contains("/a", "x.mp3"));
  EXPECT_FALSE(songlist.contains("/A", "x.mp3"));

  songlist.RemoveItem(1);
  EXPECT_TRUE(songlist.contains("/a", "x.mp3")) << "the second copy is still listed";
  songlist.SetTextMatrix(1, col::kFile, "z.mp3");
  EXPECT_FALSE(songlist.contains("/a", "x.mp3"));
  EXPECT_TRUE(songlist.contains("/a", "z.mp3"));
  EXPECT_EQ(songlist.find("/b", "y.mp3", 1, 2), 2);
  EXPECT_EQ(songlist.find("/b", "y.mp3", 2, 1), 2);
  EXPECT_EQ(songlist.find("/b", "y.mp3", 1, 1), 0);

  songlist.Clear();
  EXPECT_FALSE(songlist.contains("/b", "y.mp3"));
}

TEST(Songlist, IndexStaysRightThroughManyInsertsAndErases) {
  Songlist songlist;
  // Every song twice, so that erasing a row often leaves its key listed.
  for (int i = 0; i < 3000; ++i) songlist.add_cells({"", "/d" + std::to_string(i % 7), std::to_string(i % 1500)});
  for (int i = songlist.Rows() - 1; i >= 1; i -= 3) songlist.RemoveItem(i);
  for (int i = 1; i < songlist.Rows(); i += 5) songlist.SetTextMatrix(i, col::kDirectory, "");
  songlist.remove_rows_with_empty(col::kDirectory);
  std::set<std::pair<std::string, std::string>> left;
  for (int i = 1; i < songlist.Rows(); ++i) left.emplace(songlist.TextMatrix(i, 1), songlist.TextMatrix(i, 2));
  for (int i = 0; i < 3000; ++i) {
    std::pair<std::string, std::string> song{"/d" + std::to_string(i % 7), std::to_string(i % 1500)};
    EXPECT_EQ(songlist.contains(song.first, song.second), left.contains(song)) << song.first << " " << song.second;
  }
}

TEST(Songlist, SongsAreFoundByNameAndCopyAndRowsMoveAndGoInBulk) {
  auto songlist = with_scores({"4", "3", "2", "1"});
  songlist->SetTextMatrix(3, col::kFile, "song1");  // a list may hold a song twice
  EXPECT_EQ(songlist->song_at(3), (SongRef{"/music", "song1", 1}));
  EXPECT_EQ(songlist->song_at(1), (SongRef{"/music", "song1", 0}));
  const std::vector<SongRef> songs = {
      {"/music", "song1", 1}, {"/music", "song4"}, {"/music", "song1"}, {"/music", "song1", 2}, {"/m", "song4"}};
  EXPECT_EQ(songlist->rows_of(songs), (std::vector<int>{3, 4, 1, 0, 0}));
  const std::pair<int, int> moves[] = {{4, 1}, {1, 9}};
  songlist->place_rows(moves);
  EXPECT_EQ(column(*songlist, col::kFile), (std::vector<std::string>{"song4", "song2", "song1", "song1"}));
  EXPECT_EQ(column(*songlist, col::kScore), (std::vector<std::string>{"1", "3", "2", "4"}));
  const int gone[] = {2, 4, 7};
  songlist->remove_rows(gone);
  EXPECT_EQ(column(*songlist, col::kScore), (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(songlist->contains("/music", "song1"));
  EXPECT_FALSE(songlist->contains("/music", "song2"));
}

TEST(Recompute, RowsWithoutDirectoryGoButAnEmptyListKeepsItsPlaceholder) {
  Songlist songlist;
  recompute_songlist(songlist);
  EXPECT_EQ(songlist.Rows(), 1) << "a header-only table is left alone";
  songlist.add_cells({"", "", ""});
  songlist.add_cells({"", "", "orphan.mp3", "7"});
  recompute_songlist(songlist);
  ASSERT_EQ(songlist.Rows(), 2) << "all rows without a Directory but the first go";
  EXPECT_EQ(column(songlist, 0), std::vector<std::string>{"1"});
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "0");
  EXPECT_EQ(songlist.TextMatrix(1, col::kRank), "100");
  EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), "00:00 1/1/71");

  songlist.add_cells({"", "/m", "a.mp3", "1"});
  songlist.add_cells({"", "", "b.mp3", "2"});
  recompute_songlist(songlist);
  EXPECT_EQ(column(songlist, col::kFile), std::vector<std::string>{"a.mp3"}) << "the placeholder goes too";
}

TEST(Recompute, SortsStablyRanksByScoreTextAndKeepsTheCurrentRowIndex) {
  auto owned = with_scores({"3", "5", "05", "x", "-2", "5"});
  Songlist& songlist = *owned;
  songlist.SetRow(2);
  songlist.SetCol(1);
  recompute_songlist(songlist);
  EXPECT_EQ(std::pair(songlist.Row(), songlist.Col()), std::pair(2, col::kScore)) << "the song moved, the row did not";
  EXPECT_EQ(column(songlist, col::kFile),
            (std::vector<std::string>{"song2", "song3", "song6", "song1", "song4", "song5"}));
  EXPECT_EQ(column(songlist, col::kScore), (std::vector<std::string>{"5", "05", "5", "3", "0", "-2"}));
  // "5" and "05" are equal values but different texts: no shared rank.
  EXPECT_EQ(column(songlist, col::kRank), (std::vector<std::string>{"100", "83.33", "66.67", "50", "33.33", "16.67"}));
  EXPECT_EQ(column(songlist, 0), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
  // Equal texts do.
  auto three = with_scores({"5", "5", "3"});
  recompute_songlist(*three);
  EXPECT_EQ(column(*three, col::kRank), (std::vector<std::string>{"100", "100", "33.33"}));
}

// Narrow whole numbers are counted into place, others compared: both orders
// must be the stable one, whatever the list was in before.
TEST(Recompute, EveryKindOfScoreSortsLikeAStableSort) {
  const std::vector<std::vector<std::string>> kinds = {{"3", "-2", "7", "0", "3", "-0", "12"},  // narrow whole numbers
                                                       {"2.5", "1", "2.50", "x", "-1e3", "1"},  // fractions and text
                                                       {"1000000000", "1", "-5", "1", "7"},  // whole, but spread wide
                                                       {"9", "9", "4", "1", "0"}};           // in order already
  std::mt19937 random(7);
  for (const auto& kind : kinds) {
    std::vector<const char*> scores;
    for (int i = 0; i < 300; ++i) scores.push_back(kind[random() % kind.size()].c_str());
    if (&kind == &kinds.back())
      std::sort(scores.begin(), scores.end(), [](auto a, auto b) { return std::atoi(a) > std::atoi(b); });
    Songlist songlist;
    std::vector<std::pair<double, std::string>> expected;
    for (std::size_t i = 0; i < scores.size(); ++i) {
      songlist.add_cells({"", "/m", std::to_string(i), scores[i]});
      expected.emplace_back(score_sort_value(scores[i]), std::to_string(i));
    }
    std::stable_sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.first > b.first; });
    recompute_songlist(songlist);
    for (std::size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(songlist.TextMatrix(static_cast<int>(i) + 1, col::kFile), expected[i].second)
          << kind[0] << " row " << i;
  }
}

TEST(Recompute, RepairsLastPlayedButKeepsProgramDates) {
  Songlist songlist;
  songlist.add_cells({"", "/m", "a", "1", "", "", "14:05 6/12/01"});
  songlist.add_cells({"", "/m", "b", "2", "", "", ""});
  songlist.add_cells({"", "/m", "c", "3", "", "", "yesterday"});
  songlist.add_cells({"", "/m", "d", "4", "", "", "10:00 2/30/26"});
  recompute_songlist(songlist);
  EXPECT_EQ(column(songlist, col::kLastPlayed),
            (std::vector<std::string>{"00:00 1/1/71", "00:00 1/1/71", "00:00 1/1/71", "14:05 6/12/01"}));
}

// A recompute after a few changed rows works near them only; it must leave
// the table as a recompute of the whole would.
TEST(Recompute, AfterAFewChangedRowsEndsAsARecomputeOfTheWholeTable) {
  std::mt19937 random(20);
  const char* scores[] = {"0", "1", "2", "3", "-1", "05", " 3", "x", "2.5"};
  const char* dates[] = {"14:05 6/12/01", "junk", "00:00 1/1/71"};
  auto pick = [&](const auto& texts) { return texts[random() % std::size(texts)]; };
  Songlist songlist;
  for (int i = 0; i < 300; ++i) songlist.add_cells({"", "/m", std::to_string(i), pick(scores), "", "", pick(dates)});
  recompute_songlist(songlist);
  for (int round = 0; round < 300; ++round) {
    for (int k = random() % 3; k >= 0; --k) {
      const int row = 1 + static_cast<int>(random() % static_cast<unsigned>(songlist.Rows() - 1));
      songlist.SetTextMatrix(row, random() % 5 == 0 ? col::kLastPlayed : col::kScore,
                             random() % 5 == 0 ? pick(dates) : pick(scores));
    }
    Songlist whole;
    for (int i = 1; i < songlist.Rows(); ++i) {
      std::string cells[kColumns];
      for (int c = 0; c < kColumns; ++c) cells[c] = songlist.TextMatrix(i, c);
      whole.add_cells({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6]});
    }
    recompute_songlist(songlist);
    recompute_songlist(whole);
    for (int c = 0; c < kColumns; ++c) ASSERT_EQ(column(songlist, c), column(whole, c)) << round << " " << c;
  }
}

}  // namespace
}  // namespace jukora
