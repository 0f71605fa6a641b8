// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/current_song_scoring.h"

#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

class CurrentSongScoringTest : public PlayerFixture {
 protected:
  // Every song the player names is there (reported_song_posix_test looks at real files).
  CurrentSongScoringTest() {
    scoring.look_at_song = [](const std::string& path) { return SongFileLook{SongFileLook::Kind::kRegular, path}; };
  }
  void playing(const std::string& entry) { link.song = entry; }
  FakeTimer retry;
  CurrentSongScoring scoring{songlist, files, settings, link, desktop, retry};
};

TEST_F(CurrentSongScoringTest, StepsTheFirstListedRowFollowsItAndSaysTheNewScore) {
  fill(3);
  songlist.SetTextMatrix(2, col::kFile, "1.mp3");              // listed twice: the upper row only
  songlist.SetTextMatrix(2, col::kDirectory, temp.file("M"));  // directories compare by case
  songlist.SetTextMatrix(3, col::kFile, "1.mp3");
  playing(song(1));
  scoring.decrement_current_song();
  scoring.decrement_current_song();
  EXPECT_EQ(cells(2, col::kDirectory, col::kScore), music + ",1");
  EXPECT_EQ(songlist.Row(), 2);
  for (int i = 0; i < 3; ++i) scoring.increment_current_song();
  EXPECT_EQ(cells(1, col::kDirectory, col::kScore), music + ",4");
  EXPECT_EQ(cells(3, col::kDirectory, col::kScore), music + ",1");
  EXPECT_EQ(songlist.Row(), 1);
  EXPECT_NE(read_bytes(list).find("\"1.mp3\",\"4\""), std::string::npos);
  EXPECT_EQ(desktop.notes.back(), "1 \u2014 score 4");
  EXPECT_EQ(desktop.notes.size(), 5u);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(CurrentSongScoringTest, OnlyALocalFileIsScoredOrAddedAndTheUserHearsWhyNot) {
  fill(2);
  songlist.SetTextMatrix(2, col::kScore, "-1");
  songlist.SetRow(1);
  playing(song(3));
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "1");
  settings.SaveSetting(sections::kPrefs, keys::kAddOnMinus, "1");
  const std::string sep(1, kPathSeparator);
  for (std::string entry : {std::string("3.mp3"), "m" + sep + "3.mp3", music + sep,
                            std::string("https://radio.example/3.mp3"), "av://lavfi:anullsrc" + sep + "3.mp3"}) {
    playing(entry);
    scoring.increment_current_song();
    EXPECT_EQ(desktop.notes.back(), "The player is not at a file on this computer.") << entry;
  }
  link.song.reset();
  scoring.decrement_current_song();
  EXPECT_EQ(desktop.notes.back(), "Nothing is playing.");
  EXPECT_FALSE(std::filesystem::exists(list));

  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "0");
  playing(song(3));
  scoring.increment_current_song();
  EXPECT_EQ(desktop.notes.back(), "3 is not in the songlist; adding songs on + is off.");
  EXPECT_FALSE(std::filesystem::exists(list));
  scoring.decrement_current_song();  // added with Score 0, not -1
  EXPECT_EQ(cells(2, col::kFile, col::kScore), "3.mp3,0");
  EXPECT_EQ(desktop.notes.back(), "3 \u2014 score 0");
  EXPECT_EQ(songlist.Row(), 1);  // sorted above the old end: not followed downwards
  playing(join_path(music, "a.x.ogg"));
  settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "2");
  scoring.increment_current_song();
  EXPECT_EQ(cells(3, col::kFile, col::kScore), "a.x.ogg,0");
  EXPECT_EQ(songlist.Row(), 3);
  EXPECT_EQ(desktop.notes.back(), "a.x \u2014 score 0");
  // A name no file here could have is no song.
  playing(join_path(music, "a\tb.ogg"));
  scoring.increment_current_song();
  EXPECT_EQ(songlist.Rows(), 5);
  EXPECT_EQ(desktop.notes.back(),
            "\"a?b.ogg\" cannot be listed: its name holds a control character (a line break, a tab).");
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
    EXPECT_EQ(read_bytes(list), "\"" + music + "\",\"1.mp3\",\"0\",\"00:00 1/1/71\"\r\n");
  }
}

TEST_F(CurrentSongScoringTest, ClicksThatMeetABusyPlayerWaitAndGoToTheSongItReportsOnceItAnswers) {
  fill(3);
  playing(song(3));
  modes.score_first = [&] { return scoring.run_waiting(); };
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  link.busy = true;
  scoring.increment_current_song();
  scoring.increment_current_song();
  scoring.decrement_current_song();
  scoring.increment_current_song();
  EXPECT_TRUE(retry.enabled());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(desktop.notes.empty());
  EXPECT_FALSE(std::filesystem::exists(list));

  // The player answers at a tick: the clicks go first, and no song is handed over in that tick.
  link.busy = false;
  modes.tick();
  EXPECT_TRUE(link.starts().empty());
  EXPECT_EQ(cells(2, col::kFile, col::kScore), "3.mp3,3");
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"3 \u2014 score 3"});
  EXPECT_FALSE(retry.enabled());
  modes.tick();
  EXPECT_EQ(link.starts().size(), 1u);

  // A player that stays busy: the clicks go after a few seconds of retries, told once.
  link.busy = true;
  scoring.increment_current_song();
  scoring.increment_current_song();
  for (int tick = 0; tick < 30 && retry.enabled(); ++tick) scoring.retry();
  EXPECT_FALSE(retry.enabled());
  EXPECT_EQ(desktop.notes.back(), "Winamp did not answer, so the score was not changed.");
  EXPECT_EQ(desktop.notes.size(), 2u);
  link.busy = false;
  scoring.retry();
  EXPECT_EQ(cells(2, col::kFile, col::kScore), "3.mp3,3");
}

}  // namespace
}  // namespace jukora::testing
