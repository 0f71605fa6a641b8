// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "songlist/recompute.h"
#include "songlist/row_deletion.h"
#include "songlist/songlist_files_fixture.h"
#include "songlist/songlist_format.h"

namespace jukora {
namespace {

TEST_F(SonglistFilesTest, FirstStartUsesDefaultFileAndTheFirstSaveCreatesIt) {
  EXPECT_EQ(files.current_path(), join_path(folders.data, "default.jk8"));
  files.read_songlist();
  EXPECT_EQ(songlist.Rows(), 1);
  EXPECT_TRUE(desktop.messages.empty());
  songlist.add_cells({"", "/m", "a.mp3"});
  recompute_songlist(songlist);
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("default.jk8")), "\"/m\",\"a.mp3\",\"0\",\"00:00 1/1/71\"\r\n");
}

TEST_F(SonglistFilesTest, ReaderFollowsTheFieldRules) {
  load("hand.jk8",
       "\"/m,1\",\"a.mp3\",\"3\",\"14:05 6/12/01\"\r\n"  // comma inside quotes
       "  \"/m\" junk ,\"b.mp3\"\n\"2\",\"\"\n"          // blanks, text after the quote, a record over two lines
       "/plain dir  ,c.mp3,1,x,surplus\r\n"              // unquoted fields, a surplus field
       ",d.mp3,0\r\n");                                  // ...which starts the next record
  ASSERT_EQ(songlist.Rows(), 5);
  EXPECT_EQ(songlist.TextMatrix(1, col::kDirectory), "/m,1");
  EXPECT_EQ(songlist.TextMatrix(2, col::kDirectory), "/m");
  EXPECT_EQ(songlist.TextMatrix(2, col::kLastPlayed), "00:00 1/1/71");
  EXPECT_EQ(songlist.TextMatrix(3, col::kDirectory), "/plain dir");
  EXPECT_EQ(songlist.TextMatrix(3, col::kFile), "c.mp3");
  EXPECT_EQ(songlist.TextMatrix(3, col::kLastPlayed), "00:00 1/1/71") << "x is not a date";
  // The surplus field became the Directory of the last record.
  EXPECT_EQ(songlist.TextMatrix(4, col::kDirectory), "surplus");
  EXPECT_EQ(songlist.TextMatrix(4, col::kFile), "");
  EXPECT_EQ(songlist.TextMatrix(4, col::kScore), "0") << "d.mp3 landed in Score and was repaired";

  // Line endings and blank lines do not matter.
  load("lf.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\n\n\"/m\",\"b\",\"2\",\"00:00 1/1/71\"\n\r\n");
  EXPECT_EQ(files_column(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(SonglistFilesTest, QuotesInsideFieldsRoundTrip) {
  songlist.add_cells({"", "/m/say \"hi\"", "\"quoted\".mp3", "2"});
  songlist.add_cells({"", "/m", "comma, and space.mp3", "1"});
  recompute_songlist(songlist);
  use("quotes.jk8");
  files.write_songlist();
  std::string bytes = read_bytes(path("quotes.jk8"));
  EXPECT_EQ(bytes,
            "\"/m/say \"\"hi\"\"\",\"\"\"quoted\"\".mp3\",\"2\",\"00:00 1/1/71\"\r\n"
            "\"/m\",\"comma, and space.mp3\",\"1\",\"00:00 1/1/71\"\r\n");
  files.read_songlist();
  EXPECT_EQ(songlist.TextMatrix(1, col::kDirectory), "/m/say \"hi\"");
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "\"quoted\".mp3");
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("quotes.jk8")), bytes);
}

TEST_F(SonglistFilesTest, RecordCutShortKeepsEarlierRowsWithoutRecompute) {
  load("cut.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n\"/m\",\"b\",\"9\"");
  EXPECT_EQ(files_column(), (std::vector<std::string>{"a"}));
  EXPECT_EQ(songlist.TextMatrix(1, col::kRank), "") << "no recompute after a cut-short load";
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SonglistFilesTest, EmptyAndMissingFilesLeaveThePlaceholderRow) {
  load("full.jk8", "\"/m\",\"a\",\"1\",\"\"\r\n\"/m\",\"b\",\"2\",\"\"\r\n");
  load("empty.jk8", "");
  ASSERT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(songlist.TextMatrix(1, col::kDirectory), "");
  EXPECT_EQ(songlist.TextMatrix(1, col::kRank), "100") << "an empty file is recomputed";

  use("missing.jk8");
  files.read_songlist();
  EXPECT_EQ(songlist.Rows(), 2);
  EXPECT_TRUE(desktop.messages.empty());
  files.write_songlist();  // a failed load does not recompute the blank row
  EXPECT_EQ(read_bytes(path("missing.jk8")), "\"\",\"\",\"\",\"\"\r\n");
  load("placeholder.jk8", read_bytes(path("missing.jk8")));
  EXPECT_EQ(songlist.Rows(), 2);
}

TEST_F(SonglistFilesTest, DirectoryInPlaceOfTheSonglistIsNeverSavedOver) {
  // Also covers the root user, for whom permission bits are no obstacle.
  std::filesystem::create_directories(path("folder.jk8"));
  use("folder.jk8");
  files.read_songlist();
  ASSERT_EQ(desktop.messages.size(), 1u);
  songlist.add_cells({"", "/m", "a.mp3"});
  files.write_songlist();
  EXPECT_EQ(desktop.messages.size(), 1u) << "told once, at the load";
  EXPECT_TRUE(std::filesystem::is_directory(path("folder.jk8")));
}

TEST_F(SonglistFilesTest, TheSonglistDialogsStartWhereTheCurrentListIs) {
  // Before any list was chosen, the data folder holds it as default.jk8.
  files.songlist_command(SonglistCommand::kOpen);
  ASSERT_EQ(desktop.requests.size(), 1u);
  EXPECT_EQ(desktop.requests[0].initial_dir, folders.data);
  EXPECT_EQ(desktop.requests[0].file_name, "default.jk8");

  std::filesystem::create_directories(path("lists"));
  use(join_path("lists", "rock & roll.jk8"));
  // Command, the name offered, whether replacing a file is asked about.
  const std::tuple<SonglistCommand, const char*, bool> cases[] = {
      {SonglistCommand::kOpen, "rock & roll.jk8", false},
      {SonglistCommand::kSaveAs, "rock & roll.jk8", true},
      {SonglistCommand::kNew, "", false},
  };
  for (const auto& [command, name, asks] : cases) {
    desktop.requests.clear();
    files.songlist_command(command);
    ASSERT_EQ(desktop.requests.size(), 1u);
    EXPECT_EQ(desktop.requests[0].initial_dir, path("lists")) << name;
    EXPECT_EQ(desktop.requests[0].file_name, name);
    EXPECT_EQ(desktop.requests[0].asks_to_replace, asks) << name;
  }
}

TEST_F(SonglistFilesTest, NewCreatesAnEmptyFileAndRefusesAnExistingOneOrOneItCannotMake) {
  load("old.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  desktop.file_answers = {path("fresh.jk8"), path("old.jk8"), path("no/such/dir/x.jk8")};
  files.songlist_command(SonglistCommand::kNew);
  EXPECT_EQ(settings.GetSetting("main", "last_set", ""), path("fresh.jk8"));
  EXPECT_EQ(read_bytes(path("fresh.jk8")), "");
  EXPECT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(songlist.TextMatrix(1, col::kDirectory), "");
  EXPECT_EQ(desktop.window_caption, "Jukora Song Manager - fresh.jk8");
  EXPECT_EQ(desktop.menu_caption, "Songlist (fresh.jk8)");
  EXPECT_EQ(desktop.requests[0].title, "New");
  EXPECT_EQ(desktop.requests[0].filter, "Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*");

  files.songlist_command(SonglistCommand::kNew);
  EXPECT_EQ(desktop.messages, std::vector<std::string>{"New:  File already exists."});
  files.songlist_command(SonglistCommand::kNew);
  EXPECT_EQ(desktop.messages.size(), 2u);
  EXPECT_EQ(settings.GetSetting("main", "last_set", ""), path("fresh.jk8"));
  EXPECT_EQ(desktop.window_caption, "Jukora Song Manager - fresh.jk8");
}

TEST_F(SonglistFilesTest, SaveAsWritesTheTableOrChangesNothing) {
  load("a.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  desktop.file_answers = {path("missing/b.jk8"), path("b.jk8")};
  files.songlist_command(SonglistCommand::kSaveAs);
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(settings.GetSetting("main", "last_set", ""), path("a.jk8"));

  files.songlist_command(SonglistCommand::kSaveAs);
  EXPECT_EQ(settings.GetSetting("main", "last_set", ""), path("b.jk8"));
  EXPECT_EQ(read_bytes(path("b.jk8")), read_bytes(path("a.jk8")));
  EXPECT_EQ(desktop.window_caption, "Jukora Song Manager - b.jk8");

  // A failed Save As does not hush the current file's own failure.
  use("gone/c.jk8");
  desktop.file_answers = {path("missing/d.jk8")};
  files.songlist_command(SonglistCommand::kSaveAs);
  files.write_songlist();
  files.write_songlist();
  ASSERT_EQ(desktop.messages.size(), 3u);
  EXPECT_NE(desktop.messages[2].find(path("gone/c.jk8")), std::string::npos);
}

TEST_F(SonglistFilesTest, AFileOpenRefusesNeverBecomesTheCurrentSonglist) {
  const std::string song("ID3\x04\0\0\0\0\x01\x10\xFF\xFB,\"x\",\r\n", 18);
  write_bytes(path("song.mp3"), song);
  load("list.jk8", jk8({{"a", "3"}}));
  files.show_captions();
  // A direct play's Last Played, not saved yet, is saved when another list is opened.
  files.set_last_played(1, LastPlayed::read("14:05 6/12/01"));
  desktop.file_answers = {path("song.mp3")};
  files.songlist_command(SonglistCommand::kOpen);
  EXPECT_EQ(desktop.messages,
            std::vector<std::string>{"Open:  \"" + path("song.mp3") + "\" is not a songlist.  list.jk8 stays open."});
  EXPECT_EQ(files.current_path(), path("list.jk8"));
  EXPECT_EQ(desktop.menu_caption, "Songlist (list.jk8)");
  EXPECT_EQ(files_column(), std::vector<std::string>{"a"}) << "the list that was open stays open";
  EXPECT_EQ(saved(), "\"/m\",\"a\",\"3\",\"14:05 6/12/01\"\r\n");
  songlist.add_cells({"", "/m", "b"});
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("song.mp3")), song);
  EXPECT_EQ(saved(), "\"/m\",\"a\",\"3\",\"14:05 6/12/01\"\r\n\"/m\",\"b\",\"\",\"\"\r\n");
  EXPECT_EQ(desktop.messages.size(), 1u);

  // Named at start-up all the same, it is refused there and never saved over.
  use("song.mp3");
  files.read_songlist();
  EXPECT_EQ(songlist.Rows(), 2) << "nothing of it is loaded";
  songlist.add_cells({"", "/m", "a.mp3"});
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("song.mp3")), song);
  EXPECT_EQ(desktop.messages.size(), 2u) << "told once, at the load";
}

TEST_F(SonglistFilesTest, TextOfOtherThanSongsIsToldAtOpenAndKeptBesideTheFileAtTheFirstSave) {
  const std::string junk = "Dear diary,today was,a good day,really\r\nwhat,else,is,new\r\n\"/m\",\"a\",\"3\",\"\"\r\n";
  write_bytes(path("diary.txt"), junk);
  desktop.file_answers = {path("diary.txt")};
  files.songlist_command(SonglistCommand::kOpen);
  EXPECT_EQ(desktop.messages,
            std::vector<std::string>{
                "\"" + path("diary.txt") +
                "\" does not look like a songlist: 2 of its 3 records have a score that is not a number or a Last "
                "Played that is not a date; Jukora takes them as 0 and never played.  When Jukora first saves it, its "
                "original text is kept beside it as \"diary.txt.orig\" (unless that name is taken)."});
  EXPECT_EQ(files.current_path(), path("diary.txt"));
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("diary.txt.orig")), junk);
  EXPECT_EQ(desktop.messages.size(), 1u) << "told once";

  // Records that are no songs at all are dropped, and still kept beside it.
  const std::string blanks = ",,x,\r\n,,y,\r\n";
  write_bytes(path("blanks.txt"), blanks);
  use("blanks.txt");
  files.read_songlist();
  EXPECT_EQ(desktop.messages.size(), 2u);
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("blanks.txt.orig")), blanks);

  // A last record cut short is read as ever; those before it tell.
  load("cut.txt", "one,two,three,four\r\nfive");
  ASSERT_EQ(desktop.messages.size(), 3u);
  EXPECT_THAT(desktop.messages[2], ::testing::HasSubstr("1 of its 1 record has"));

  // Odd spellings of numbers and dates, and dates left empty, are no junk.
  load("odd.jk8", "\"/m\",\"a\",\" 05\",\"\"\r\n\"/m\",\"b\",\"1e1\",\"14:05 6/12/2001\"\r\n");
  EXPECT_EQ(desktop.messages.size(), 3u);
}

TEST_F(SonglistFilesTest, ForeignTextIsKeptBesideTheFileBeforeTheFirstSaveOverIt) {
  const std::string csv = "Artist,Title,Year,Rating\r\nA,B,1999,5\r\n";
  load("mixed.jk8", csv);
  EXPECT_EQ(songlist.Rows(), 3) << "read as permissively as ever";
  EXPECT_EQ(desktop.messages.size(), 1u) << "told at the load: no Rating is a date";
  desktop.messages.clear();
  EXPECT_TRUE(desktop.notes.empty()) << "nothing else to say before a save";
  files.write_songlist();
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("mixed.jk8.orig")), csv);
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"\"" + path("mixed.jk8") +
                                                    "\" held text that Jukora does not write; its original is kept "
                                                    "in \"" +
                                                    path("mixed.jk8.orig") + "\"."});
  EXPECT_TRUE(desktop.messages.empty());

  // The same text again is kept once; other text gets a name of its own.
  load("mixed.jk8", csv);
  files.write_songlist();
  const std::string notes = "my notes\r\n";
  load("mixed.jk8", notes);
  files.write_songlist();
  EXPECT_EQ(read_bytes(path("mixed.jk8.orig")), csv);
  EXPECT_EQ(read_bytes(path("mixed.jk8.orig-2")), notes);
  EXPECT_FALSE(std::filesystem::exists(path("mixed.jk8.orig-3")));
  ASSERT_EQ(desktop.notes.size(), 3u);
  EXPECT_NE(desktop.notes[1].find(path("mixed.jk8.orig") + "\""), std::string::npos);

  // Jukora's own text, an empty file and the blank row of an empty list are
  // no one else's.
  for (const char* bytes : {"\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n", "", "\"\",\"\",\"\",\"\"\r\n"}) {
    load("own.jk8", bytes);
    files.write_songlist();
  }
  EXPECT_FALSE(std::filesystem::exists(path("own.jk8.orig")));
  EXPECT_EQ(desktop.notes.size(), 3u);
}

TEST(LoadSonglistText, TellsTheTextASaveWouldWriteFromAnyOther) {
  const std::string a = "\"/m\",\"a\",\"2\",\"00:00 1/1/71\"";
  const std::string b = "\"/m\",\"b \"\"x\"\"\",\"1\",\"14:05 6/12/01\"";
  const std::pair<std::string, bool> cases[] = {
      {a + "\r\n" + b + "\r\n", true},
      {b + "\r\n" + a + "\r\n", false},  // not in score order
      {a + "\n" + b + "\n", false},
      {a + "\r\n" + b, false},  // no line end at the end
      {a + "\r\n\r\n" + b + "\r\n", false},
      {" " + a + "\r\n", false},
      {"\"/m\" ,\"a\",\"2\",\"00:00 1/1/71\"\r\n", false},
      {"/m,\"a\",\"2\",\"00:00 1/1/71\"\r\n", false},
      {"\"/m\",\"a\",\"2\",\"\"\r\n", false},  // the recompute fills in the date
      {"\"/m\",\"a\",\"x\",\"00:00 1/1/71\"\r\n", false},
      {a + "\r\n\"\",\"c\",\"1\",\"00:00 1/1/71\"\r\n", false},  // a row the recompute drops
  };
  for (const auto& [bytes, as_written] : cases) {
    Songlist songlist;
    const LoadedText loaded = load_songlist_text(bytes, songlist);
    EXPECT_EQ(loaded.as_written, as_written) << bytes;
    EXPECT_EQ(loaded.as_written, loaded.whole && is_songlist_file_text(songlist, bytes)) << bytes;
  }
}

TEST_F(SonglistFilesTest, OpenLoadsAnExistingSonglistOnly) {
  write_bytes(path("other.jk8"), "\"/m\",\"z\",\"1\",\"00:00 1/1/71\"\r\n");
  desktop.file_answers = {path("nothing.jk8"), std::nullopt, path("other.jk8")};
  files.songlist_command(SonglistCommand::kOpen);
  EXPECT_EQ(desktop.messages, std::vector<std::string>{"Open:  No such songlist."});
  files.songlist_command(SonglistCommand::kOpen);  // cancelled
  EXPECT_FALSE(settings.read("main", "last_set"));
  files.songlist_command(SonglistCommand::kOpen);
  EXPECT_EQ(files_column(), std::vector<std::string>{"z"});
  EXPECT_EQ(desktop.menu_caption, "Songlist (other.jk8)");
  EXPECT_EQ(desktop.requests.size(), 3u);
}

// Deleting a selection with the Delete key is checked through the window's grid.
TEST_F(SonglistFilesTest, DeletingTheOnlyRowBlanksItAndRowsOutsideAreIgnored) {
  load("del.jk8", "\"/m\",\"a\",\"5\",\"\"\r\n\"/m\",\"b\",\"4\",\"\"\r\n");
  delete_rows(songlist, files, {3});  // outside: ignored
  delete_rows(songlist, files, {1});
  delete_rows(songlist, files, {1});  // the only row is blanked, not removed
  ASSERT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(songlist.TextMatrix(1, col::kDirectory), "");
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "0");
  EXPECT_EQ(songlist.Col(), 0);
}

}  // namespace
}  // namespace jukora
