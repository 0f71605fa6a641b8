#include "scoring/current_song_scoring.h"

#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

class CurrentSongScoringTest : public PlayerFixture {
 protected:
  void playing(const std::string& entry) { link.playlist_text = "#EXTM3U\r\n" + entry + "\r\n"; }
  CurrentSongScoring scoring{songlist, files, settings, link, desktop};
};

TEST_F(CurrentSongScoringTest, StepsTheFirstListedRowAndFollowsIt) {
  fill(3);
  songlist.SetTextMatrix(2, col::kFile, "1.mp3");   // listed twice: the upper row only
  songlist.SetTextMatrix(2, col::kDirectory, "M");  // directories compare by case
  songlist.SetTextMatrix(3, col::kFile, "1.mp3");
  playing(song(1));
  scoring.decrement_current_song();
  scoring.decrement_current_song();
  EXPECT_EQ(cells(2, col::kDirectory, col::kScore), "m,1");
  EXPECT_EQ(songlist.Row(), 2);
  for (int i = 0; i < 3; ++i) scoring.increment_current_song();
  EXPECT_EQ(cells(1, col::kDirectory, col::kScore), "m,4");
  EXPECT_EQ(cells(3, col::kDirectory, col::kScore), "m,1");
  EXPECT_EQ(songlist.Row(), 1);
  EXPECT_NE(read_bytes(list).find("\"1.mp3\",\"4\""), std::string::npos);
}

TEST_F(CurrentSongScoringTest, AnUnlistedSongIsAddedWithScoreZeroWhenThePreferenceIsOn) {
  fill(2);
  songlist.SetTextMatrix(2, col::kScore, "-1");
  songlist.SetRow(1);
  playing(song(3));
  settings.SaveSetting(sections::kPrefs, keys::kAddOnMinus, "1");
  scoring.increment_current_song();  // "add_on_plus" absent
  for (std::string entry : {std::string("3.mp3"), "m" + std::string(1, kPathSeparator), std::string()}) {
    playing(entry);  // no directory or no file
    scoring.decrement_current_song();
  }
  EXPECT_FALSE(std::filesystem::exists(list));
  playing(song(3));
  scoring.decrement_current_song();
  EXPECT_EQ(cells(2, col::kFile, col::kScore), "3.mp3,0");
  EXPECT_EQ(songlist.Row(), 1);  // sorted above the old end: not followed downwards
  playing("m" + std::string(1, kPathSeparator) + "a\tb");
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "2");
  scoring.increment_current_song();
  EXPECT_EQ(cells(3, col::kFile, col::kScore), "a\tb,0");
  EXPECT_EQ(songlist.Row(), 3);
}

// A drop lists the songs of "/" or "E:\" under that folder; the player names
// them "/a.mp3" or "E:\a.mp3".
TEST_F(CurrentSongScoringTest, ASongAtARootFindsItsRowAndIsNeverAddedTwice) {
  const std::string root = kPathSeparator == '/' ? "/" : "E:\\";
  fill(0);
  songlist.add_cells({"", root, "a.mp3", "4"});
  recompute_songlist(songlist);
  playing(root + "a.mp3");
  scoring.increment_current_song();
  EXPECT_EQ(cells(1, col::kDirectory, col::kScore), root + ",5");

  settings.SaveSetting(sections::kPrefs, keys::kAddOnMinus, "1");
  playing(root + "b.mp3");
  scoring.decrement_current_song();
  scoring.decrement_current_song();
  ASSERT_EQ(songlist.Rows(), 3);
  EXPECT_EQ(cells(2, col::kFile, col::kScore), "b.mp3,-1");
  EXPECT_EQ(songlist.TextMatrix(2, col::kDirectory), song_directory(root + "b.mp3"));
}

TEST_F(CurrentSongScoringTest, TheFirstSongReplacesThePlaceholderRow) {
  playing(song(1));
  for (auto key : {keys::kAddOnPlus, keys::kAddOnMinus}) {
    fill(0);
    songlist.add_cells({});
    songlist.SetRow(0);
    settings.SaveSetting(sections::kPrefs, key, "1");
    key == keys::kAddOnPlus ? scoring.increment_current_song() : scoring.decrement_current_song();
    EXPECT_EQ(songlist.Row(), 1);
    EXPECT_EQ(read_bytes(list), "\"m\",\"1.mp3\",\"0\",\"00:00 1/1/71\"\r\n");
  }
}

}  // namespace
}  // namespace jukora::testing
