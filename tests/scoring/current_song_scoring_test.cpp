#include "scoring/current_song_scoring.h"

#include <gtest/gtest.h>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

const std::string kRock = std::string("music") + kPathSeparator + "rock";

class CurrentSongScoringTest : public ::testing::Test {
 protected:
  CurrentSongScoringTest() {
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir);
    settings.SaveSetting(sections::kMain, keys::kLastSet, list_path);
    link.playlist_dir = dir;
    playing(kRock + kPathSeparator + "a.mp3");
  }

  void playing(const std::string& entry) { link.playlist_text = "#EXTM3U\r\n" + entry + "\r\n"; }

  void list(std::initializer_list<std::pair<const char*, const char*>> songs) {
    for (auto [file, score] : songs) songlist.add_cells({"", kRock, file, score});
    recompute_songlist(songlist);
  }

  std::string cell(int row, int col) const { return std::string(songlist.TextMatrix(row, col)); }

  TempDir temp;
  std::string dir = temp.path().string();
  std::string list_path = temp.file("list.jk8");
  MemorySettingsStore settings;
  FakeDesktop desktop;
  AppFolders folders{dir};
  DialogMemory dialog;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders, dialog};
  FakeWinampLink link;
  CurrentSongScoring scoring{songlist, files, settings, link, desktop};
};

TEST_F(CurrentSongScoringTest, StepsTheListedSongAndFollowsIt) {
  list({{"b.mp3", "9"}, {"c.mp3", "5"}, {"a.mp3", "5"}});
  songlist.SetRow(1);
  scoring.increment_current_song();
  EXPECT_EQ(cell(2, col::kFile), "a.mp3");
  EXPECT_EQ(cell(2, col::kScore), "6");
  EXPECT_EQ(songlist.Row(), 2);
  EXPECT_NE(read_bytes(list_path).find("\"a.mp3\",\"6\""), std::string::npos);

  scoring.decrement_current_song();
  scoring.decrement_current_song();
  EXPECT_EQ(cell(3, col::kFile), "a.mp3");
  EXPECT_EQ(cell(3, col::kScore), "4");
  EXPECT_EQ(songlist.Row(), 3);
}

TEST_F(CurrentSongScoringTest, OnlyTheUpperOfTwoEqualRowsChanges) {
  list({{"a.mp3", "3"}, {"a.mp3", "3"}});
  scoring.increment_current_song();
  EXPECT_EQ(cell(1, col::kScore), "4");
  EXPECT_EQ(cell(2, col::kScore), "3");
}

TEST_F(CurrentSongScoringTest, AnUnlistedSongIsAddedWithScoreZeroWhenThePreferenceIsOn) {
  list({{"b.mp3", "1"}, {"c.mp3", "-1"}});
  scoring.increment_current_song();  // "add_on_plus" absent
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "0");
  scoring.increment_current_song();
  settings.SaveSetting(sections::kPrefs, keys::kAddOnMinus, "1");
  scoring.increment_current_song();
  EXPECT_EQ(songlist.Rows(), 3);
  EXPECT_FALSE(std::filesystem::exists(list_path));

  scoring.decrement_current_song();
  EXPECT_EQ(songlist.Rows(), 4);
  EXPECT_EQ(cell(2, col::kFile), "a.mp3");
  EXPECT_EQ(cell(2, col::kScore), "0");
  // Decrement follows from the old end towards the bottom: the song sorted
  // above it is not selected.
  EXPECT_EQ(songlist.Row(), 0);
  EXPECT_NE(read_bytes(list_path).find("\"a.mp3\",\"0\""), std::string::npos);

  playing(kRock + kPathSeparator + "d\tx.mp3");  // a tab in the name stays in its cell
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "2");
  scoring.increment_current_song();
  EXPECT_EQ(cell(3, col::kFile), "d\tx.mp3");  // after the other 0
  EXPECT_EQ(cell(3, col::kScore), "0");
  EXPECT_EQ(songlist.Row(), 3);
}

TEST_F(CurrentSongScoringTest, DirectoriesCompareCaseSensitively) {
  songlist.add_cells({"", "Music" + kRock.substr(5), "a.mp3", "4"});
  recompute_songlist(songlist);
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "1");
  scoring.increment_current_song();
  EXPECT_EQ(songlist.Rows(), 3);
  EXPECT_EQ(cell(1, col::kScore), "4");
}

TEST_F(CurrentSongScoringTest, TheFirstSongReplacesThePlaceholderRow) {
  for (int step : {+1, -1}) {
    songlist.Clear();
    songlist.add_cells({});
    recompute_songlist(songlist);
    settings.SaveSetting(sections::kPrefs, step > 0 ? keys::kAddOnPlus : keys::kAddOnMinus, "1");
    step > 0 ? scoring.increment_current_song() : scoring.decrement_current_song();
    ASSERT_EQ(songlist.Rows(), 2);
    EXPECT_EQ(cell(1, col::kDirectory), kRock);
    EXPECT_EQ(cell(1, col::kScore), "0");
    EXPECT_EQ(songlist.Row(), 1);
    EXPECT_EQ(read_bytes(list_path), "\"" + kRock + "\",\"a.mp3\",\"0\",\"00:00 1/1/71\"\r\n");
  }
}

TEST_F(CurrentSongScoringTest, EntriesWithoutDirectoryOrFileChangeNothing) {
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "1");
  list({{"a.mp3", "4"}});
  for (std::string entry : {std::string("a.mp3"), kRock + kPathSeparator, std::string()}) {
    playing(entry);
    scoring.increment_current_song();
  }
  link.position = -1;
  scoring.increment_current_song();
  EXPECT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(cell(1, col::kScore), "4");
  EXPECT_FALSE(std::filesystem::exists(list_path));
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace jukora::testing
