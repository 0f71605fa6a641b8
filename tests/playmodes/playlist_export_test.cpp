#include "playmodes/cycle_fixture.h"

namespace jukora::testing {
namespace {

class PlaylistExportTest : public CycleFixture {
 protected:
  std::string playlist() const { return read_bytes(link.playlist_path(dir)); }
  // The lines of the given rows as the file holds them.
  std::string lines(std::vector<int> rows) const {
    std::string text;
    for (int row : rows) text += song(std::to_string(row) + ".mp3") + "\r\n";
    return text;
  }
};

TEST_F(PlaylistExportTest, WritesTheRowsInScoreOrderOrReversed) {
  fill(5);
  modes.mnuAscending_Click("Playlist Top 20");
  EXPECT_EQ(playlist(), lines({1, 2, 3, 4, 5}));
  modes.mnuDescending_Click("Playlist Top 20");
  EXPECT_EQ(playlist(), lines({5, 4, 3, 2, 1}));

  songlist.Clear();
  fill(30);
  std::vector<int> rows(20);
  std::iota(rows.begin(), rows.end(), 1);
  modes.mnuAscending_Click("Playlist Top 20");
  EXPECT_EQ(playlist(), lines(rows));
  modes.mnuDescending_Click("Playlist Top 20");
  EXPECT_EQ(playlist(), lines({rows.rbegin(), rows.rend()}));
  rows.resize(30);
  std::iota(rows.begin(), rows.end(), 1);
  modes.mnuAscending_Click("Playlist All");
  EXPECT_EQ(playlist(), lines(rows));

  songlist.Clear();
  fill(5);
  modes.mnuDescending_Click("Playlist All");  // the longer file is replaced whole
  EXPECT_EQ(playlist(), lines({5, 4, 3, 2, 1}));
  EXPECT_EQ(link.starts(), std::vector<std::string>(6, "start_with_playlist " + dir));
}

TEST_F(PlaylistExportTest, LinesHoldTheCellsAsTheyAre) {
  songlist.add_cells({});
  recompute_songlist(songlist);
  modes.mnuAscending_Click("Playlist All");  // the placeholder row
  EXPECT_EQ(playlist(), std::string(1, kPathSeparator) + "\r\n");
  songlist.add_cells({"", "music", "a b.mp3"});
  recompute_songlist(songlist);
  modes.mnuAscending_Click("Playlist All");
  EXPECT_EQ(playlist(), song("a b.mp3") + "\r\n");
}

TEST_F(PlaylistExportTest, EndsTheFeedingButKeepsTheMode) {
  fill(3);
  modes.mnuAscending_Click("Top 20");
  modes.tmrJukora_Timer();
  link.running = false;
  link.calls.clear();
  modes.mnuDescending_Click("Playlist Top 20");
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(songlist.TextMatrix(1, col::kMark), "");
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kCountup, 20}));
  // Not running: started bare first, then on the playlist.
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"start " + dir, "start_with_playlist " + dir}));
}

TEST_F(PlaylistExportTest, AMissingExecutableWritesNothing) {
  fill(3);
  timer.set_enabled(true);
  std::filesystem::remove(link.executable_path(dir));
  modes.mnuAscending_Click("Playlist All");
  EXPECT_FALSE(std::filesystem::exists(link.playlist_path(dir)));
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(desktop.messages, (std::vector<std::string>{kExecutableNotFound}));
  EXPECT_EQ(desktop.preferences_shown, 1);
}

TEST_F(PlaylistExportTest, AnUnwritablePlaylistIsNotHandedOver) {
  fill(1);
  std::filesystem::create_directory(link.playlist_path(dir));  // a folder in the way
  modes.mnuAscending_Click("Playlist All");
  EXPECT_TRUE(link.starts().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

using DirectPlayTest = CycleFixture;

TEST_F(DirectPlayTest, PlaysTheCurrentRowAndRecordsTheTimeOnly) {
  fill(3);
  modes.mnuDescending_Click("All");
  songlist.SetTextMatrix(3, col::kMark, "*");
  songlist.SetRow(2);
  modes.MSFlexGrid1_DblClick();
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"start_with_file " + dir + " " + song("2.mp3")}));
  EXPECT_EQ(songlist.TextMatrix(2, col::kLastPlayed), "11:00 12/6/26");
  EXPECT_EQ(songlist.TextMatrix(2, col::kFile), "2.mp3");
  EXPECT_EQ(songlist.TextMatrix(3, col::kMark), "*");
  EXPECT_FALSE(std::filesystem::exists(list_path));  // not saved
  EXPECT_TRUE(timer.enabled());
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kCountdown, 4}));
}

TEST_F(DirectPlayTest, NothingOnThePlaceholderRowOrWithoutARow) {
  songlist.add_cells({});
  recompute_songlist(songlist);
  for (int row : {1, 0, 2}) {
    songlist.SetRow(row);
    modes.MSFlexGrid1_DblClick();
  }
  EXPECT_TRUE(link.calls.empty());
  EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), kNeverPlayed);
}

TEST_F(DirectPlayTest, AMissingExecutableLeavesTheTimerAlone) {
  fill(1);
  timer.set_enabled(true);
  songlist.SetRow(1);
  std::filesystem::remove(link.executable_path(dir));
  modes.MSFlexGrid1_DblClick();
  EXPECT_EQ(desktop.messages, (std::vector<std::string>{kExecutableNotFound}));
  EXPECT_EQ(desktop.preferences_shown, 1);
  EXPECT_TRUE(timer.enabled());
  EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), kNeverPlayed);
}

}  // namespace
}  // namespace jukora::testing
