// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/import_command.h"

#include <gmock/gmock.h>

#include "platform/settings_keys.h"
#include "ratings/source_choice.h"
#include "ratings/sqlite/player_databases.h"
#include "ratings/tags/tag_files.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ImportCommandTest : public ::testing::Test, protected SavedSonglist {
 protected:
  ImportCommandTest() {
    std::filesystem::create_directories(music);
    for (const char* name : {"kept.mp3", "fresh.mp3", "new.ogg"}) write_bytes(join_path(music, name), "x");
    songlist.add_cells({"", music, "kept.mp3", "4", "", "", "10:00 1/2/20"});
    songlist.add_cells({"", music, "fresh.mp3", "0", "", "", "00:00 1/1/71"});
    recompute_songlist(songlist);
    files.write_songlist();
    saved = read_bytes(default_songlist_path(folders));
  }
  ImportCommandResult run(const std::string& source, bool dry_run = false) {
    return import_ratings_command(songlist, files, settings, source, dry_run);
  }
  std::string url(const std::string& name) const { return "file://" + join_path(music, name); }

  std::string music = (temp.path() / "music").string();
  std::string saved;
};

TEST_F(ImportCommandTest, DryRunTellsWhatARunThenDoesWithTheRuleInPreferences) {
  const std::string db = temp.file("rhythmdb.xml");
  write_bytes(db, "<rhythmdb version=\"2.0\"><entry type=\"song\"><location>" + url("kept.mp3") +
                      "</location><rating>5</rating></entry><entry type=\"song\"><location>" + url("fresh.mp3") +
                      "</location><rating>3</rating></entry><entry type=\"song\"><location>" + url("new.ogg") +
                      "</location><rating>2</rating></entry><entry type=\"song\"><location>" + url("gone.mp3") +
                      "</location><rating>2</rating></entry></rhythmdb>");
  settings.SaveSetting(sections::kPrefs, keys::kRatingRule, "0,1,2,3,4,5,7,7,8,9,10");
  const ImportCommandResult dry = run(db, true);
  EXPECT_EQ(dry.exit_code, 0);
  EXPECT_THAT(dry.lines, ElementsAre("~ " + join_path(music, "fresh.mp3") + ": score 0 -> 7",
                                     "+ " + join_path(music, "new.ogg") + ": new, score 4",
                                     "Would import 2 ratings: 1 added, 1 updated, 2 skipped (1 missing file, "
                                     "1 not chosen)."));
  EXPECT_EQ(read_bytes(default_songlist_path(folders)), saved);

  const ImportCommandResult done = run(db);
  EXPECT_THAT(done.lines, ElementsAre(HasSubstr("Imported 2 ratings: 1 added, 1 updated, 2 skipped")));
  EXPECT_EQ(done.outcome.changes.size(), 2u);
  EXPECT_NE(read_bytes(default_songlist_path(folders)).find("\"fresh.mp3\",\"7\""), std::string::npos);
}

TEST_F(ImportCommandTest, EverySourceKindReachesItsBackendAndABadOneChangesNothing) {
  const std::string db = temp.file("strawberry.db");
  sqlite3* handle = open_database(db);
  run_sql(handle, kStrawberrySongs);
  run_sql(handle, song_row(Player::kStrawberry, url("new.ogg"), "0.6", -1));
  sqlite3_close(handle);
  EXPECT_THAT(run(db, true).lines.back(), HasSubstr("Would import 1 rating: 1 added"));

  write_bytes(temp.file("bomb.xml"),
              "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aa\">]><rhythmdb>&a;</rhythmdb>");
  settings.SaveSetting(sections::kPlayer, keys::kMpdHost, temp.file("no-mpd-here"));
  for (const std::string& bad :
       {temp.file("bomb.xml"), std::string("mpd"), temp.file("nothing"), music + "/kept.mp3"}) {
    const ImportCommandResult result = run(bad);
    if (bad.ends_with(".mp3")) {
      EXPECT_EQ(result.exit_code, 0);  // a file without tags: nothing to import
      EXPECT_THAT(result.lines, ElementsAre("Imported 0 ratings: 0 added, 0 updated, 1 skipped (1 unrated)."));
    } else {
      EXPECT_EQ(result.exit_code, 1) << bad;
      EXPECT_THAT(result.lines, ElementsAre(::testing::Not(HasSubstr("Imported"))));
    }
    EXPECT_EQ(read_bytes(default_songlist_path(folders)), saved) << bad;
  }
}

TEST_F(ImportCommandTest, AFolderOrASongSpelledAnyWayIsImportedOnceUnderOneSpelling) {
  const std::string tagged = join_path(music, "tagged");
  std::filesystem::create_directories(join_path(tagged, "sub"));
  ASSERT_TRUE(make_song(join_path(tagged, "one.flac")));
  ASSERT_TRUE(mutagen_write(join_path(tagged, "one.flac"), {"FMPS_RATING=0.8"}));
  const std::string base = temp.path().string();
  // As `jukora --import-ratings` takes them: the spelling and the folder it
  // was typed in.
  const std::pair<std::string, std::string> spellings[] = {
      {"music/tagged", base},          {"./music/tagged/", base},       {"../tagged", tagged},
      {base + "//music//tagged", "/"}, {base + "/music/./tagged", "/"}, {"./one.flac", tagged},
      {"sub/../one.flac", tagged},
  };
  for (const auto& [spelling, folder] : spellings) {
    const ImportCommandResult result = run(absolute_source_argument(spelling, folder));
    EXPECT_THAT(result.lines.back(), HasSubstr(spelling == spellings[0].first ? "1 added" : "0 added")) << spelling;
  }
  EXPECT_EQ(songlist.Rows(), 4);
  EXPECT_EQ(songlist.find(tagged, "one.flac", 1, songlist.Rows() - 1), 1);
}

}  // namespace
}  // namespace jukora::testing
