// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening through a real player: the watch around
// its link, two listed 20-second songs scored 4, and the plays every player
// is put through: seeked to one side of a boundary of the rule, then left,
// paused, stopped or played out. The looks are the test's, not a timer's.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/settings_keys.h"
#include "player/player_link.h"
#include "scoring/current_song_scoring.h"
#include "session/listening_watch.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/song_events.h"
#include "support/saved_songlist.h"

namespace jukora::testing {

// What the test does in the player, the player's own way.
struct ListeningHands {
  // An absolute seek, in seconds; true once the player has told of it, where
  // it tells of seeks at all.
  std::function<bool(double)> seek;
  std::function<void()> pause;
  // The player's own Next, to `song` put after the one playing.
  std::function<void(const std::string& song)> next;
  // Waits for `done` with a deadline, letting in what the player sends.
  std::function<bool(const std::function<bool()>& done, std::chrono::milliseconds limit)> eventually;
};

// How a play ends: Jukora's Skip, the player's Next, its pause, Jukora's
// Stop, the song's own end, or a seek back near the start and then a Skip.
enum class Then { kSkip, kNext, kPause, kStop, kEnd, kBackThenSkip };

struct ListeningPlay {
  double from;  // seconds
  Then then;
  const char* score;  // the song's score afterwards, from 4
};

inline constexpr ListeningPlay kBoundaryPlays[] = {
    {3, Then::kSkip, "4"},    {3, Then::kNext, "4"},    // within the first 5 s
    {6, Then::kSkip, "3"},    {6, Then::kNext, "3"},    // after them, before the half
    {9, Then::kSkip, "3"},    {11, Then::kSkip, "4"},   // each side of the half
    {6, Then::kPause, "4"},   {6, Then::kStop, "4"},    // not left
    {16, Then::kSkip, "4"},                             // after the half, before the end
    {18.5, Then::kSkip, "5"}, {18.5, Then::kEnd, "5"},  // the last 2 s, left or played out
};

class ListeningRig {
  // First: the watch below is made from them.
  SavedSonglist& saved_;
  PlayerLink& link_;
  std::string dir_, next_ = dir_ + "/next.wav";
  // The plays take turns with the two songs, so that a player slow to take
  // one cannot be seen at the one before.
  std::string songs_[2] = {dir_ + "/song.wav", dir_ + "/other.wav"};
  std::string song_;
  int turn_ = 0;
  ListeningHands hands_;

 public:
  using milliseconds = std::chrono::milliseconds;

  // The songs live in `dir`, where the player can read them.
  ListeningRig(SavedSonglist& saved, PlayerLink& link, std::string dir, ListeningHands hands)
      : saved_(saved), link_(link), dir_(std::move(dir)), hands_(std::move(hands)) {
    std::filesystem::create_directories(dir_);
    for (const std::string& path : {songs_[0], songs_[1], next_})
      EXPECT_EQ(std::system(("sox -q -n -r 44100 -c 2 '" + path + "' synth 20 sine 440 vol 0.1").c_str()), 0);
    for (const char* name : {"song.wav", "other.wav"}) saved.songlist.add_cells({"", dir_, name, "4"});
    recompute_songlist(saved.songlist);
    saved.files.tell_scores_to(events);
    save_listen_scores(saved.settings, true);
  }

  void play(const ListeningPlay& play) {
    SCOPED_TRACE(std::to_string(play.from) + " s, ending " + std::to_string(static_cast<int>(play.then)));
    song_ = songs_[turn_++ % 2];
    saved_.songlist.SetTextMatrix(row(), col::kScore, "4");
    play_from(play.from);
    if (::testing::Test::HasFatalFailure()) return;
    switch (play.then) {
      case Then::kSkip:
        watch.skipping();
        link_.stop();
        break;
      case Then::kNext:
        hands_.next(next_);
        // Looked at until a look has seen the next song play.
        ASSERT_TRUE(wait([&] {
          const bool there =
              link_.play_position().status == PlayStatus::kPlaying && link_.current_song(dir_).path == next_;
          watch.look();
          return there;
        })) << "no Next";
        link_.stop();
        break;
      case Then::kPause:
        hands_.pause();
        ASSERT_TRUE(wait([&] { return link_.play_position().status == PlayStatus::kPaused; }));
        watch.look();
        link_.stop();
        break;
      case Then::kStop:
        link_.stop();
        break;
      case Then::kEnd:
        break;
      case Then::kBackThenSkip:
        ASSERT_TRUE(hands_.seek(1)) << "the seek back was not told";
        watch.skipping();
        link_.stop();
        break;
    }
    looks_until_stopped();
    EXPECT_EQ(saved_.songlist.TextMatrix(row(), col::kScore), play.score);
  }

  SongEvents events;
  FakeTimer retry;
  CurrentSongScoring scoring{saved_.songlist, saved_.files, saved_.settings, link_, saved_.desktop, retry};
  ListeningWatch watch{saved_.songlist, saved_.files, saved_.settings, saved_.desktop,
                       link_,           scoring,      events,          saved_.loop};

 private:
  int row() const { return saved_.songlist.find(dir_, get_file_name(song_), 1, saved_.songlist.Rows() - 1); }
  bool wait(const std::function<bool()>& done, milliseconds limit = std::chrono::seconds(8)) {
    return hands_.eventually(done, limit);
  }

  // The song plays from `seconds` on, the player names it and says so with
  // its length, and a look has seen it there. A seek the player drops while
  // it still loads the song is sent again.
  void play_from(double seconds) {
    // Busy (a player still starting, MPD between connections) means: again later.
    HandOver handed;
    ASSERT_TRUE(wait([&] { return (handed = link_.play_file(dir_, song_)).result != HandOver::Result::kBusy; }))
        << "the player stayed busy";
    ASSERT_EQ(handed.result, HandOver::Result::kStarted) << handed.reason;
    const milliseconds target(std::lround(seconds * 1000));
    PlayPosition at;
    auto sent = std::chrono::steady_clock::time_point{};
    ASSERT_TRUE(wait([&] {
      at = link_.play_position();
      if (at.status != PlayStatus::kPlaying) return false;
      // A loaded player may name the new song, and tell its length, a moment
      // after it plays it: the look below must see all of them.
      if (at.position && *at.position >= target && *at.position < target + milliseconds(900))
        return at.length && link_.current_song(dir_).path == song_;
      if (std::chrono::steady_clock::now() - sent > milliseconds(300)) {
        hands_.seek(seconds);
        sent = std::chrono::steady_clock::now();
      }
      return false;
    })) << "never seen at "
        << seconds << " s";
    ASSERT_TRUE(at.length);
    EXPECT_NEAR(static_cast<double>(at.length->count()), 20'000, 100);
    watch.look();
  }

  // Looks until the play has ended and been judged.
  void looks_until_stopped() {
    ASSERT_TRUE(wait(
        [&] {
          watch.look();
          return link_.play_position().status == PlayStatus::kStopped;
        },
        std::chrono::seconds(15)));
    watch.look();
  }
};

}  // namespace jukora::testing
