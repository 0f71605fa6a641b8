#include "scoring/add_songs.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "scoring/add_songs_fixture.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

std::string in(const std::string& dir, const std::string& name) { return join_path(dir, name); }

TEST_F(AddSongsTest, DropTakesLowerCaseAudioFilesFilesFirstInNameOrder) {
  make_file("D.mp3");
  make_file("a.mp3");
  make_file("b.MP3");
  make_file("c.txt");
  make_file("x/d.wav");
  make_file("K/e.it");

  add.MSFlexGrid1_OLEDragDrop({root});

  EXPECT_THAT(songs(), ElementsAre(Pair(root, "a.mp3"), Pair(root, "D.mp3"), Pair(in(root, "K"), "e.it"),
                                   Pair(in(root, "x"), "d.wav")));
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "0");
  EXPECT_EQ(desktop.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_NE(saved().find("\"" + in(root, "x") + "\",\"d.wav\""), std::string::npos);
  EXPECT_THAT(desktop.messages, IsEmpty());
}

TEST_F(AddSongsTest, DroppedFilesAreFilteredLikeTheWalk) {
  std::string song = make_file("one.wav");
  std::string upper = make_file("two.WAV");
  std::string dotted = make_file("three.mp3.");

  add.MSFlexGrid1_OLEDragDrop({upper, song, dotted, in(root, "gone.mp3"), song});

  EXPECT_THAT(songs(), ElementsAre(Pair(root, "one.wav")));
}

TEST_F(AddSongsTest, SameDropTwiceAddsNothingButSavesAgain) {
  make_file("a.mp3");
  make_file("x/d.wav");
  add.MSFlexGrid1_OLEDragDrop({root});
  std::filesystem::remove(default_songlist_path(folders));

  add.MSFlexGrid1_OLEDragDrop({root, in(root, "x")});

  EXPECT_EQ(songlist.Rows(), 3);
  EXPECT_FALSE(saved().empty());
}

TEST_F(AddSongsTest, DirectoryInAnotherLetterCaseIsAnotherSong) {
  make_file("a.mp3");
  std::string other = root;
  other.back() = 'C';  // ".../musiC"
  songlist.add_cells({"", other, "a.mp3", "7"});
  recompute_songlist(songlist);

  add.MSFlexGrid1_OLEDragDrop({root});

  EXPECT_THAT(songs(), ElementsAre(Pair(other, "a.mp3"), Pair(root, "a.mp3")));
}

TEST_F(AddSongsTest, DropWithoutFilesStillRecomputesAndSaves) {
  songlist.add_cells({"", "/m", "s.mp3", "not a number"});

  add.MSFlexGrid1_OLEDragDrop({});

  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "0");
  EXPECT_FALSE(saved().empty());
}

TEST_F(AddSongsTest, TrailingSeparatorDoesNotMakeASecondSpelling) {
  make_file("a.mp3");
  add.MSFlexGrid1_OLEDragDrop({root});
  add.MSFlexGrid1_OLEDragDrop({root + kPathSeparator});
  EXPECT_THAT(songs(), ElementsAre(Pair(root, "a.mp3")));
}

// Records the fake time of every yield, so the gaps can be measured.
class TimedDesktop : public FakeDesktop {
 public:
  explicit TimedDesktop(const std::chrono::steady_clock::time_point& now) : now_(now) {}
  void yield_events() override { at.push_back(now_); }
  std::vector<std::chrono::steady_clock::time_point> at;

 private:
  const std::chrono::steady_clock::time_point& now_;
};

TEST_F(AddSongsTest, LongDropYieldsOftenButNotAfterEveryFile) {
  for (int i = 0; i < 200; ++i) make_file("d" + std::to_string(i % 4) + "/s" + std::to_string(i) + ".mp3");
  TimedDesktop timed(clock_now);
  AddSongs paced(songlist, files, timed, dialog, [this] { return clock_now += clock_step; });
  clock_step = std::chrono::milliseconds(2);
  auto start = clock_now;

  paced.MSFlexGrid1_OLEDragDrop({root});

  ASSERT_EQ(songlist.Rows(), 201);
  ASSERT_FALSE(timed.at.empty());
  EXPECT_LT(timed.at.size(), 100u);
  auto previous = start;
  for (auto t : timed.at) {
    EXPECT_LE(t - previous, kYieldInterval + 2 * clock_step);
    previous = t;
  }
}

TEST_F(AddSongsTest, QuickDropDoesNotYieldAtAll) {
  make_file("a.mp3");
  make_file("x/d.wav");
  add.MSFlexGrid1_OLEDragDrop({root});
  EXPECT_EQ(desktop.yields, 0);
}

TEST_F(AddSongsTest, AddFilesAsksWithItsTitleAndFilter) {
  add.add_files_dialog();

  ASSERT_EQ(desktop.requests.size(), 1u);
  EXPECT_EQ(desktop.requests[0].title, "Add Files");
  EXPECT_EQ(desktop.requests[0].filter,
            "All Audio Formats|*.mp3;*.mp2;*.mp1;*.mod;*.it;*.xm;*.s3m;*.stm;*.669;*.dsm;*.far;*.ult;*.mtm;*.voc;*.wav;"
            "*.mid;*.cda;|Mpeg Audio|*.mp3;*.mp2;*.mp1|Wave Files|*.wav|Midi Files|*.mid|CD Audio|*.cda|Mod Tracker "
            "Files|*.mod;*.it;*.xm;*.s3m;*.stm;*.669|Other Audio Files|*.dsm;*.far;*.ult;*.mtm;*.voc|All Files|*.*");
  // Cancelled: nothing added and nothing saved.
  EXPECT_EQ(songlist.Rows(), 1);
  EXPECT_TRUE(saved().empty());
}

TEST_F(AddSongsTest, AddFilesTakesAnyExtensionAndRemembersTheFolder) {
  songlist.add_cells({"", "/old", "z.mp3", "3"});
  songlist.add_cells({"", "/old", "y.mp3", "-1"});
  recompute_songlist(songlist);
  dialog.file_name = "last.mp3";
  desktop.files_answers = {{in(root, "b.txt")}};

  add.add_files_dialog();

  EXPECT_THAT(songs(), ElementsAre(Pair("/old", "z.mp3"), Pair(root, "b.txt"), Pair("/old", "y.mp3")));
  // The current row stays at the index of the last new row: the list's end.
  EXPECT_EQ(songlist.Row(), 3);
  EXPECT_EQ(songlist.Col(), col::kNumber);
  EXPECT_EQ(dialog.initial_dir, root);
  EXPECT_EQ(dialog.file_name, "");
  EXPECT_FALSE(saved().empty());

  // The songlist commands start in the same folder.
  files.mnuSonglist_Click("Open");
  EXPECT_EQ(desktop.requests.back().initial_dir, root);
}

TEST_F(AddSongsTest, AddFilesWithSeveralOntoAnEmptyList) {
  songlist.add_cells({});
  recompute_songlist(songlist);  // the placeholder row of an empty list
  desktop.files_answers = {{in(root, "a.mp3"), in(root, "b.mp3"), in(root, "a.mp3")}};

  add.add_files_dialog();

  EXPECT_THAT(songs(), ElementsAre(Pair(root, "a.mp3"), Pair(root, "b.mp3")));
  EXPECT_EQ(songlist.Row(), 2);
  EXPECT_EQ(songlist.RowSel(), 2);
  EXPECT_EQ(desktop.requests.back().initial_dir, "");
}

TEST_F(AddSongsTest, AddFilesOfListedSongsLeavesNoDataRowCurrent) {
  songlist.add_cells({"", root, "a.mp3"});
  recompute_songlist(songlist);
  songlist.SetRow(1);
  desktop.files_answers = {{in(root, "a.mp3")}};

  add.add_files_dialog();

  EXPECT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(songlist.Row(), 0);
  EXPECT_FALSE(saved().empty());
}

}  // namespace
}  // namespace jukora::testing
