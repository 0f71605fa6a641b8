// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

using PlaylistExportTest = PlayerFixture;

TEST_F(PlaylistExportTest, WritesTheRowsInScoreOrderOrReversedAndEndsTheFeeding) {
  auto exported = [&](int from, int to) {
    std::string text;
    for (int i = from, step = from <= to ? 1 : -1; i != to + step; i += step) text += song(i) + "\r\n";
    EXPECT_EQ(read_bytes(link.playlist_path(dir)), text);
  };
  fill(5);
  modes.start_cycle({PlayOrder::kCountup, Scope::kTop20});
  modes.tick();
  link.running = false;  // started bare first, then on the playlist
  modes.start_cycle({PlayOrder::kCountup, Scope::kTop20, true});
  EXPECT_EQ(cells(1, col::kMark, col::kLastPlayed), ",00:00 1/1/71");
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(modes.cycle(), (PlayCycle{PlayMode::kCountup, 20}));
  exported(1, 5);
  link.running = true;
  modes.start_cycle({PlayOrder::kCountdown, Scope::kTop20, true});
  exported(5, 1);
  fill(30);
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  exported(1, 30);
  modes.start_cycle({PlayOrder::kCountdown, Scope::kTop20, true});  // the longer file is replaced whole
  exported(20, 1);
  fill(0);
  songlist.add_cells({});  // the placeholder row
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), std::string(1, kPathSeparator) + "\r\n");
  // Every export but the empty one started the player on its playlist.
  std::vector<std::string> starts(6, "play_playlist " + dir);
  starts[0] = "play_file " + dir + " " + song(1);
  starts[1] = "start " + dir;
  EXPECT_EQ(link.starts(), starts);
  // A player that cannot play the list from its first song says why.
  fill(2);
  link.refusal = "It would only add them.";
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  EXPECT_EQ(desktop.notes.back(), "The playlist was written but not started.  It would only add them.");
}

TEST_F(PlaylistExportTest, SongsAtARootAreWrittenWithOneSeparator) {
  const std::string root = kPathSeparator == '/' ? "/" : "E:\\";
  fill(0);
  songlist.add_cells({"", root, "a.mp3", "2"});
  songlist.add_cells({"", song_directory(root + "b.mp3"), "b.mp3", "1"});
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), root + "a.mp3\r\n" + root + "b.mp3\r\n");
}

TEST_F(PlaylistExportTest, LeavesOutRowsThatAreNotLocalFilesAndStartsNothingWithoutASong) {
  fill(4);
  songlist.SetTextMatrix(1, col::kDirectory, "https://radio.example");
  songlist.SetTextMatrix(3, col::kFile, "3.mp3\r\nav://lavfi:anullsrc");  // would make a line of its own
  songlist.SetTextMatrix(4, col::kDirectory, "m");
  modes.start_cycle({PlayOrder::kCountdown, Scope::kAll, true});
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), song(2) + "\r\n");
  songlist.SetTextMatrix(2, col::kDirectory, "av://lavfi:anullsrc");
  link.calls.clear();
  modes.start_cycle({PlayOrder::kCountup, Scope::kAll, true});
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), "");
  EXPECT_TRUE(link.starts().empty());
  link.busy = true;
  songlist.SetTextMatrix(2, col::kDirectory, music);
  modes.start_cycle({PlayOrder::kCountup, Scope::kTop20, true});
  EXPECT_EQ(desktop.notes,
            std::vector<std::string>{"Winamp is not answering: the playlist was written but not started."});
}

TEST_F(PlaylistExportTest, DirectPlayOfARowThatCannotBePlayedNamesItAndStartsNothing) {
  fill(3);
  songlist.SetTextMatrix(1, col::kDirectory, "av://lavfi:anullsrc");
  std::filesystem::remove(song(2));
  link.busy_hand_overs = 1;
  for (int row : {1, 2, 3}) {
    songlist.SetRow(row);
    modes.play_row(songlist.Row());
  }
  EXPECT_EQ(desktop.messages,
            (std::vector<std::string>{
                "Cannot play " + join_path("av://lavfi:anullsrc", "1.mp3") + ": it is not a file on this computer.",
                "Cannot play " + song(2) + ": the file is missing.",
                "Cannot play " + song(3) + ": Winamp is not answering. Try again in a moment."}));
  EXPECT_EQ(link.starts(), std::vector<std::string>{"play_file " + dir + " " + song(3)});
  for (int row : {1, 2, 3}) EXPECT_EQ(songlist.TextMatrix(row, col::kLastPlayed), "00:00 1/1/71");
}

TEST_F(PlaylistExportTest, DirectPlayStartsTheRowAndOnlyRecordsTheTime) {
  fill(3);
  songlist.SetRow(2);
  modes.play_row(songlist.Row());
  EXPECT_EQ(songlist.TextMatrix(2, col::kLastPlayed), "11:00 12/6/26");
  EXPECT_FALSE(std::filesystem::exists(list));  // not saved
  fill(0);
  songlist.add_cells({});  // the placeholder row
  songlist.SetRow(1);
  modes.play_row(songlist.Row());
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"play_file " + dir + " " + song(2)}));
}

}  // namespace
}  // namespace jukora::testing
