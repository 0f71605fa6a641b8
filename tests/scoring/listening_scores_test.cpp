// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/listening_scores.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "platform/settings_keys.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora {
namespace {

using std::chrono::milliseconds;

class ListeningScoresTest : public ::testing::Test, protected testing::SavedSonglist {
 protected:
  ListeningScoresTest() {
    settings.SaveSetting(sections::kMain, keys::kLastSet, temp.file("list.jk8"));
    for (const char* file : {"a.mp3", "b.mp3", "c.mp3"}) songlist.add_cells({"", "/m", file, "4", "", "", ""});
    recompute_songlist(songlist);
    files.tell_scores_to(events);
    events.on_scores([this](const std::vector<ScoreChange>& changes) {
      listening.scores_changed(changes);
      for (const ScoreChange& change : changes)
        told.push_back(change.file + " " + std::to_string(change.new_score) +
                       (change.source == ChangeSource::kListening ? " listening" : " hand"));
    });
    save_listen_scores(settings, true);
  }

  // A play of `file` in /m (20 s long) seen at `seconds`, then Jukora's Skip.
  void skipped_at(const std::string& file, double seconds, bool waiting = false) {
    playing(file, seconds);
    listening.leaving();
    listening.look({.state = PlayerLook::State::kStopped}, waiting);
  }
  void playing(const std::string& file, double seconds) {
    listening.look({PlayerLook::State::kPlaying, "/m" + std::string(1, kPathSeparator) + file,
                    milliseconds(static_cast<int>(seconds * 1000)), milliseconds(20'000)},
                   false);
  }
  std::string score(const std::string& file) const {
    return songlist.score(songlist.find("/m", file, 1, songlist.Rows() - 1)).text();
  }

  SongEvents events;
  ListeningScores listening{songlist, files, settings, desktop, milliseconds(1000)};
  std::vector<std::string> told;
};

TEST_F(ListeningScoresTest, ChangesListedSongsAsStepsOfTheirOwn) {
  skipped_at("a.mp3", 3);  // in the grace
  skipped_at("b.mp3", 6);
  playing("c.mp3", 19.2);
  playing("unlisted.mp3", 6);  // the player went on: c at its end
  skipped_at("unlisted.mp3", 7);
  EXPECT_EQ(told, (std::vector<std::string>{"b.mp3 3 listening", "c.mp3 5 listening"}));
  EXPECT_EQ(songlist.Rows(), 4) << "listening never adds a song";
  EXPECT_EQ(files.undo_label(), "listening score of c.mp3");
  EXPECT_TRUE(desktop.notes.empty()) << "no word unless asked";
  // Saved as every change is: read back, the scores hold.
  files.read_songlist();
  EXPECT_EQ(score("b.mp3") + score("c.mp3"), "35");

  save_listen_notify(settings, true);
  skipped_at("a.mp3", 9);
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Listening: a.mp3 skipped early, score 3."});
}

TEST_F(ListeningScoresTest, ThePersonsWordWinsAndTheOptionOffFollowsNothing) {
  // A hand change to the song during its play, and one that waits for a
  // busy player as the play ends.
  playing("a.mp3", 3);
  files.apply(score_step_of_song({"/m", "a.mp3"}, 1, ChangeSource::kTray, 1));
  skipped_at("a.mp3", 6);
  skipped_at("b.mp3", 6, true);
  // Turned off during a play: the play is forgotten, and later ones too.
  playing("c.mp3", 6);
  save_listen_scores(settings, false);
  playing("c.mp3", 7);
  save_listen_scores(settings, true);
  skipped_at("c.mp3", 8);  // seen from 8 s on: a play of its own
  save_listen_scores(settings, false);
  skipped_at("b.mp3", 8);
  EXPECT_EQ(told, (std::vector<std::string>{"a.mp3 5 hand", "c.mp3 3 listening"}));
}

}  // namespace
}  // namespace jukora
