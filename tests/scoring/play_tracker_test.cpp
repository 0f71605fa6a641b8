// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/play_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace jukora {
namespace {

using std::chrono::milliseconds;

std::optional<milliseconds> time_of(const std::string& text) {
  if (text == "?") return std::nullopt;
  return milliseconds(std::llround(std::stod(text) * 1000));
}

std::string text_of(const std::optional<milliseconds>& time) {
  if (!time) return "?";
  std::ostringstream out;
  out << static_cast<double>(time->count()) / 1000;
  return out.str();
}

// Runs a script of what the player shows and what Jukora does, one event a
// line: "play SONG LENGTH@POSITION" (also "pause", and "seek" for a look
// that tells of a seek; "-" for no song, "?" for what the player cannot
// say), "seeked POSITION", "stop", "gone", "silent", "skip", "hand SONG".
// Gives each play that ended as "SONG HOW@POSITION STEP", "hand" for one
// the person scored by hand.
std::vector<std::string> run(const std::vector<std::string>& script) {
  static constexpr const char* kHow[] = {"left", "stopped", "paused", "quit", "ended"};
  PlayTracker tracker(milliseconds(1000));
  std::vector<std::string> ended;
  for (const std::string& line : script) {
    std::istringstream in(line);
    std::string what, song, times;
    in >> what >> song >> times;
    std::optional<EndedPlay> play;
    if (what == "play" || what == "pause" || what == "seek") {
      const auto at = times.find('@');
      PlayerLook look{what == "pause" ? PlayerLook::State::kPaused : PlayerLook::State::kPlaying,
                      song == "-" ? "" : song, time_of(times.substr(at + 1)), time_of(times.substr(0, at)),
                      what == "seek"};
      play = tracker.look(look);
    } else if (what == "stop" || what == "gone" || what == "silent") {
      play = tracker.look({.state = what == "stop"   ? PlayerLook::State::kStopped
                                    : what == "gone" ? PlayerLook::State::kGone
                                                     : PlayerLook::State::kSilent});
    } else if (what == "seeked") {
      tracker.seeked(*time_of(song));
    } else if (what == "skip") {
      tracker.leaving();
    } else if (what == "hand") {
      tracker.scored_by_hand(song);
    } else {
      ADD_FAILURE() << line;
    }
    if (!play) continue;
    const int step = judged_step(*play, ListeningRule{}, false);
    ended.push_back(play->song + " " + kHow[static_cast<int>(play->facts.how)] + "@" + text_of(play->facts.position) +
                    " " + (play->by_hand ? "hand" : std::to_string(step)));
  }
  return ended;
}

using Lines = std::vector<std::string>;

TEST(PlayTracker, EndsEachPlayOnceAndSaysHow) {
  struct Case {
    const char* name;
    Lines script, ended;
  };
  const Case cases[] = {
      {"played to the end, then stopped",
       {"play a 20@0", "play a 20@10", "play a 20@17.2", "stop"},
       {"a stopped@17.2 1"}},
      {"Jukora's Skip in the grace", {"play a 20@3", "skip", "stop"}, {"a left@3 0"}},
      {"Jukora's Skip after it", {"play a 20@6", "skip", "stop"}, {"a left@6 -1"}},
      {"the player's Next before half", {"play a 20@9", "play b 20@0"}, {"a left@9 -1"}},
      {"the player's Next after half", {"play a 20@11", "play b 20@0", "stop"}, {"a left@11 0", "b stopped@0 0"}},
      {"stopped in the player", {"play a 20@6", "stop", "stop"}, {"a stopped@6 0"}},
      {"a seek into the end", {"play a 20@2", "seeked 18.5", "stop"}, {"a stopped@18.5 1"}},
      {"a seek back, then Next", {"play a 20@15", "seek a 20@7", "play b 20@0"}, {"a left@7 -1"}},
      {"a seek to the start is no new play",
       {"play a 20@15", "seek a 20@0.2", "play a 20@6", "skip", "stop"},
       {"a left@6 -1"}},
      {"a song on repeat",
       {"play a 20@19", "play a 20@0.4", "play a 20@6", "play b 20@1"},
       {"a ended@19 1", "a left@6 -1"}},
      {"gapless: the next song ends the play where it was seen",
       {"play a 20@19.3", "play b 20@0.2"},
       {"a left@19.3 1"}},
      {"paused, then stopped", {"play a 20@5", "pause a 20@6", "stop"}, {"a paused@6 0"}},
      {"a pause is seen where it is", {"pause a 20@17.5", "stop"}, {"a paused@17.5 0"}},
      {"while playing it may be a poll further", {"play a 20@17.5", "stop"}, {"a stopped@17.5 1"}},
      {"left while paused", {"pause a 20@7", "play b 20@0"}, {"a left@7 -1"}},
      {"the person's word wins", {"play a 20@3", "hand b", "hand a", "play a 20@6", "skip", "stop"}, {"a left@6 hand"}},
      {"a hand change before the play began is no part of it",
       {"hand a", "play a 20@6", "skip", "stop"},
       {"a left@6 -1"}},
      {"the player quits", {"play a 20@19.5", "gone", "play a 20@0"}, {"a quit@19.5 0"}},
      {"a silent player tells nothing", {"play a 20@6", "silent", "silent", "play b 20@0"}, {"a left@6 -1"}},
      {"no song named between two files", {"play a 20@6", "play - ?@?", "play b 20@0"}, {"a left@6 -1"}},
      {"a length learned late", {"play a ?@0", "play a 20@1", "play a 20@19", "stop"}, {"a stopped@19 1"}},
      {"an unknown length",
       {"play a ?@30", "play b ?@0", "play b ?@61", "play c ?@0"},
       {"a left@30 -1", "b left@61 0"}},
      {"a player that cannot say where it is", {"play a 20@?", "skip", "stop"}, {"a left@? 0"}},
      {"a Skip with no play going on", {"stop", "skip", "play a 20@6", "stop"}, {"a stopped@6 0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.script), c.ended) << c.name;
}

TEST(PlayTracker, AHandChangeStillWaitingWhenThePlayEndsTakesItsPlace) {
  PlayTracker tracker(milliseconds(1000));
  tracker.look({PlayerLook::State::kPlaying, "a", milliseconds(6000), milliseconds(20000)});
  tracker.leaving();
  const auto play = tracker.look({.state = PlayerLook::State::kStopped});
  ASSERT_TRUE(play);
  EXPECT_EQ(judged_step(*play, {}, false), -1);
  EXPECT_EQ(judged_step(*play, {}, true), 0);
}

}  // namespace
}  // namespace jukora
