// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_watch.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace jukora {
namespace {

using namespace std::chrono_literals;

const std::string kSong = "/m/song.wav";
const std::string kOther = "/m/other.wav";

class MprisWatchTest : public ::testing::Test {
 public:
  MprisWatch::Time at(std::chrono::milliseconds offset) const { return start + offset; }
  void track(const std::string& path, std::optional<std::int64_t> length_us, std::chrono::milliseconds when) {
    watch.set_track("file://" + path, length_us, at(when));
  }
  // The cycle's song, 4 s long, handed over and seen playing at 0.
  void follow_song(std::optional<std::int64_t> length_us = 4'000'000) {
    watch.handed_over(kSong, true, at(0ms));
    EXPECT_EQ(watch.status(at(0ms)), PlayStatus::kBusy);
    EXPECT_EQ(watch.song(at(0ms)).kind, CurrentSong::Kind::kBusy);
    track(kSong, length_us, 0ms);
    watch.set_status("Playing", at(0ms));
    ASSERT_EQ(watch.status(at(0ms)), PlayStatus::kPlaying);
  }

  MprisWatch::Time start = std::chrono::steady_clock::now();
  MprisWatch watch;
};

TEST_F(MprisWatchTest, ATrackChangeAtTheEndIsThePlayersOwnAndEarlierTheUsers) {
  // What happens, the song's length, what the user does before the change at
  // 3 s, and the status after the change to another track.
  const std::vector<std::tuple<const char*, std::optional<std::int64_t>, std::function<void()>, PlayStatus>> cases = {
      {"at the end", 4'000'000, [] {}, PlayStatus::kStopped},
      {"early", 9'000'000, [] {}, PlayStatus::kPlaying},
      {"length unknown", std::nullopt, [] {}, PlayStatus::kPlaying},
      {"after a pause", 4'000'000,
       [&] {
         watch.set_status("Paused", at(500ms));
         watch.set_status("Playing", at(2500ms));
       },
       PlayStatus::kPlaying},
      {"after a seek to the end", 9'000'000, [&] { watch.set_position(8'500'000, at(2000ms), true); },
       PlayStatus::kStopped},
      {"by the polled position", 9'000'000, [&] { watch.set_position(8'000'000, at(2900ms)); }, PlayStatus::kStopped},
      {"read as the next track began", 4'000'000, [&] { watch.set_position(0, at(2900ms)); }, PlayStatus::kStopped},
      {"seeked back", 4'000'000, [&] { watch.set_position(0, at(2000ms), true); }, PlayStatus::kPlaying},
      {"seeked to the start as the next track began", 4'000'000, [&] { watch.set_position(0, at(2950ms), true); },
       PlayStatus::kStopped},
  };
  for (const auto& [what, length_us, meanwhile, status] : cases) {
    SCOPED_TRACE(what);
    watch.clear();
    follow_song(length_us);
    meanwhile();
    track(kOther, 2'000'000, 3000ms);
    EXPECT_EQ(watch.status(at(3000ms)), status);
    EXPECT_EQ(watch.song(at(3000ms)).path, kOther) << "what plays is scored either way";
  }
}

TEST_F(MprisWatchTest, ThePlayersOwnTrackCountsAsStoppedUntilSomethingElseHappens) {
  follow_song();
  // Between two tracks some players name none for a moment.
  watch.set_track(std::nullopt, std::nullopt, at(3900ms));
  EXPECT_EQ(watch.status(at(3900ms)), PlayStatus::kStopped);
  track(kOther, 2'000'000, 4000ms);
  EXPECT_EQ(watch.status(at(4000ms)), PlayStatus::kStopped);
  watch.set_status("Paused", at(4500ms));
  EXPECT_EQ(watch.status(at(4500ms)), PlayStatus::kPaused) << "the user took it over";
}

TEST_F(MprisWatchTest, AHandOverIsAwaitedForAWhileOnly) {
  watch.set_status("Playing", at(0ms));
  track(kOther, 2'000'000, 0ms);
  watch.handed_over(kSong, true, at(0ms));
  EXPECT_TRUE(watch.wants_look(at(1s)));
  EXPECT_EQ(watch.status(at(4900ms)), PlayStatus::kBusy);
  EXPECT_EQ(watch.status(MprisWatch::kHandOverWait + at(0ms)), PlayStatus::kPlaying);

  watch.handed_over(kSong, true, at(6s));
  watch.stopped();
  EXPECT_EQ(watch.status(at(6s)), PlayStatus::kPlaying) << "told to stop, it awaits nothing";

  // The first song of a playlist is awaited, its followers are left alone.
  watch.handed_over(kSong, false, at(7s));
  track(kSong, 1'000'000, 7s);
  EXPECT_EQ(watch.status(at(7s)), PlayStatus::kPlaying);
  track(kOther, 1'000'000, 8s);
  watch.set_track(std::nullopt, std::nullopt, at(8100ms));
  track(kOther, 1'000'000, 8200ms);
  EXPECT_EQ(watch.status(at(8200ms)), PlayStatus::kPlaying);

  // A player already at the song, gone there by itself, starts it afresh and
  // stops a moment first: only what it reports after the hand-over counts,
  // not a poll's reply from before it.
  track(kSong, 1'000'000, 9900ms);
  watch.handed_over(kSong, true, at(10s));
  EXPECT_FALSE(watch.arrived());
  watch.set_status("Playing", at(10100ms), at(9900ms));
  EXPECT_FALSE(watch.arrived());
  watch.set_status("Stopped", at(10200ms));
  watch.set_track(std::nullopt, std::nullopt, at(10200ms));
  EXPECT_EQ(watch.status(at(10200ms)), PlayStatus::kBusy) << "the stop before the restart is no end";
  track(kSong, 1'000'000, 10300ms);
  watch.set_status("Playing", at(10300ms));
  EXPECT_TRUE(watch.arrived());
  EXPECT_EQ(watch.status(at(10300ms)), PlayStatus::kPlaying);
}

// Qmmp, started for the song: it says "Playing" with no track and a length
// of 0 before it names what it plays.
TEST_F(MprisWatchTest, ASongHandedOverPlaysOnlyOnceThePlayerNamesIt) {
  watch.handed_over(kSong, true, at(0ms));
  watch.set_track(std::nullopt, 0, at(300ms));
  watch.set_status("Playing", at(300ms));
  EXPECT_FALSE(watch.arrived());
  EXPECT_TRUE(watch.plays_unnamed());
  EXPECT_EQ(watch.status(at(400ms)), PlayStatus::kBusy);
  track(kSong, 0, 900ms);
  EXPECT_TRUE(watch.arrived());
  EXPECT_FALSE(watch.plays_unnamed());
  EXPECT_EQ(watch.status(at(900ms)), PlayStatus::kPlaying);
  // No length is known, so a later track is the user's: the cycle waits.
  track(kOther, 0, 1200ms);
  EXPECT_EQ(watch.status(at(1200ms)), PlayStatus::kPlaying);
}

TEST_F(MprisWatchTest, ToldToStopThePlayerIsAtNoSongUntilItSaysStoppedAndThenAtWhatItNames) {
  follow_song();
  watch.told_to_stop(at(1s));
  // A poll answered as the stop arrived: the player names its track a moment longer.
  watch.set_status("Playing", at(1100ms), at(1010ms));
  EXPECT_EQ(watch.song(at(1100ms)).kind, CurrentSong::Kind::kNoSong);
  // Stopped, still naming its track (as VLC at a song's end): that is its song.
  watch.set_status("Stopped", at(1200ms));
  EXPECT_EQ(watch.song(at(1200ms)).path, kSong);
  // One that says nothing of the stop is believed again after a while.
  watch.told_to_stop(at(2s));
  EXPECT_EQ(watch.song(at(2s) + MprisWatch::kStopSettle).path, kSong);
}

TEST_F(MprisWatchTest, AStoppedPlayerThatNamesATrackIsJudgedByItsPosition) {
  EXPECT_EQ(watch.status(at(0ms)), PlayStatus::kBusy) << "nothing heard yet";
  watch.set_status("Stopped", at(0ms));
  EXPECT_EQ(watch.status(at(0ms)), PlayStatus::kStopped);
  EXPECT_EQ(watch.song(at(0ms)).kind, CurrentSong::Kind::kNoSong);

  track(kSong, 3'000'000, 0ms);
  watch.set_position(100'000, at(0ms));
  EXPECT_EQ(watch.status(at(0ms)), PlayStatus::kBusy);
  EXPECT_TRUE(watch.wants_look(at(0ms)));
  watch.set_position(100'000, at(50ms));
  EXPECT_EQ(watch.status(at(50ms)), PlayStatus::kBusy) << "too close together to tell";
  watch.set_position(300'000, at(200ms));
  EXPECT_EQ(watch.status(at(200ms)), PlayStatus::kPlaying) << "it says Stopped but plays on";
  watch.set_position(300'000, at(400ms));
  watch.set_position(300'000, at(600ms));
  EXPECT_EQ(watch.status(at(600ms)), PlayStatus::kStopped) << "ended there, still naming the track";
  EXPECT_EQ(watch.song(at(600ms)).path, kSong);

  // A track just named that stands at its start may not have begun: asked
  // again for a while, then stopped there.
  track(kOther, 3'000'000, 700ms);
  watch.set_position(0, at(700ms));
  watch.set_position(0, at(900ms));
  EXPECT_EQ(watch.status(at(900ms)), PlayStatus::kBusy);
  EXPECT_EQ(watch.status(at(700ms) + MprisWatch::kHandOverWait), PlayStatus::kStopped);
  watch.no_position();
  EXPECT_EQ(watch.status(at(700ms)), PlayStatus::kStopped) << "a player without positions is taken at its word";

  watch.set_track("https://radio.example/live", std::nullopt, at(800ms));
  EXPECT_EQ(watch.song(at(800ms)).kind, CurrentSong::Kind::kNoSong);
}

}  // namespace
}  // namespace jukora
