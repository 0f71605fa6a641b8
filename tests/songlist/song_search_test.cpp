// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/song_search.h"

#include <gmock/gmock.h>

#include <cctype>
#include <string>
#include <tuple>
#include <vector>

#include "songlist/recompute.h"
#include "songlist/songlist.h"

namespace jukora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A fold that knows two accented letters, and counts its calls.
class SongSearchTest : public ::testing::Test {
 protected:
  SongSearchTest() {
    for (auto [directory, file, score] : {std::tuple{"/Music/Björk", "Jóga.flac", "9"},
                                          {"/Music/Bjork Tribute", "Joga (cover).mp3", "7"},
                                          {"/Music/Rock", "Song 2.MP3", "5"},
                                          {"/Music/rock/live", "song 3.mp3", "3"}})
      songlist.add_cells({"", directory, file, score});
    recompute_songlist(songlist);
  }
  const std::vector<int>& find(std::string_view query) {
    search.set_query(query);
    return search.shown(songlist);
  }

  Songlist songlist;
  int folds = 0;
  SongSearch search{[this](std::string_view text) {
    ++folds;
    std::string out(text);
    for (const char* accented : {"ö", "Ö", "ó"})
      for (std::size_t at; (at = out.find(accented)) != std::string::npos;) out.replace(at, 2, "o");
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
  }};
};

TEST_F(SongSearchTest, EveryWordInTheFolderOrTheNameInAnyOrder) {
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"bjork", {1, 2}},  {"BJÖRK JOGA", {1, 2}}, {"joga bjork", {1, 2}}, {"  rock   song ", {3, 4}},
      {"rock/live", {4}}, {"song mp3", {3, 4}},   {"tribute cover", {2}}, {"2.mp3 rock", {3}},
      {"jazz", {}},       {"rock jazz", {}},
  };
  for (const auto& [query, rows] : cases) EXPECT_EQ(find(query), rows) << query;
  // Blanks alone are no search.
  EXPECT_THAT(find(" \t "), IsEmpty());
  EXPECT_FALSE(search.active());
}

TEST_F(SongSearchTest, RowsFoldOnceAndTheShownRowsFollowTheList) {
  EXPECT_THAT(find("o"), ElementsAre(1, 2, 3, 4));
  EXPECT_EQ(folds, 1) << "only the row that is not plain ASCII";
  // Growing and shrinking queries, the list unchanged: no new fold.
  for (const char* query : {"so", "song", "song 3", "song", "s", "song 2 rock"}) find(query);
  EXPECT_THAT(find("song 2 rock"), ElementsAre(3));
  EXPECT_EQ(folds, 1);

  // A score change re-sorts: the same song is found at its new row. The
  // rows are folded again once, ahead of the next keystroke when asked to.
  songlist.SetTextMatrix(3, col::kScore, "20");
  recompute_songlist(songlist);
  search.fold_ahead(songlist);
  EXPECT_EQ(folds, 2);
  EXPECT_THAT(search.shown(songlist), ElementsAre(1));
  EXPECT_THAT(find("bjork"), ElementsAre(2, 3));
  EXPECT_EQ(folds, 2);
  // The blank row of an emptied list is no song.
  songlist.Clear();
  songlist.add_cells({"", "", ""});
  EXPECT_THAT(find("/"), IsEmpty());
}

}  // namespace
}  // namespace jukora
