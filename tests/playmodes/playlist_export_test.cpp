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
  modes.mnuAscending_Click("Top 20");
  modes.tmrJukora_Timer();
  link.running = false;  // started bare first, then on the playlist
  modes.mnuAscending_Click("Playlist Top 20");
  EXPECT_EQ(cells(1, col::kMark, col::kLastPlayed), ",00:00 1/1/71");
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kCountup, 20}));
  exported(1, 5);
  link.running = true;
  modes.mnuDescending_Click("Playlist Top 20");
  exported(5, 1);
  fill(30);
  modes.mnuAscending_Click("Playlist All");
  exported(1, 30);
  modes.mnuDescending_Click("Playlist Top 20");  // the longer file is replaced whole
  exported(20, 1);
  fill(0);
  songlist.add_cells({});  // the placeholder row
  modes.mnuAscending_Click("Playlist All");
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), std::string(1, kPathSeparator) + "\r\n");
  // Every export but the empty one started the player on its playlist.
  std::vector<std::string> starts(6, "start_with_playlist " + dir);
  starts[0] = "start_with_file " + dir + " " + song(1);
  starts[1] = "start " + dir;
  EXPECT_EQ(link.starts(), starts);
  // A player that cannot play the list from its first song says why.
  fill(2);
  link.playlist_answer = HandOver::refused("It would only add them.");
  modes.mnuAscending_Click("Playlist All");
  EXPECT_EQ(desktop.messages, std::vector<std::string>{"It would only add them."});
}

TEST_F(PlaylistExportTest, SongsAtARootAreWrittenWithOneSeparator) {
  const std::string root = kPathSeparator == '/' ? "/" : "E:\\";
  fill(0);
  songlist.add_cells({"", root, "a.mp3", "2"});
  songlist.add_cells({"", song_directory(root + "b.mp3"), "b.mp3", "1"});
  modes.mnuAscending_Click("Playlist All");
  EXPECT_EQ(read_bytes(link.playlist_path(dir)), root + "a.mp3\r\n" + root + "b.mp3\r\n");
}

TEST_F(PlaylistExportTest, DirectPlayStartsTheRowAndOnlyRecordsTheTime) {
  fill(3);
  songlist.SetRow(2);
  modes.MSFlexGrid1_DblClick();
  EXPECT_EQ(songlist.TextMatrix(2, col::kLastPlayed), "11:00 12/6/26");
  EXPECT_FALSE(std::filesystem::exists(list));  // not saved
  fill(0);
  songlist.add_cells({});  // the placeholder row
  songlist.SetRow(1);
  modes.MSFlexGrid1_DblClick();
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"start_with_file " + dir + " " + song(2)}));
}

}  // namespace
}  // namespace jukora::testing
