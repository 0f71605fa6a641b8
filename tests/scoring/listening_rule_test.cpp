// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/listening_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace jukora {
namespace {

using std::chrono::milliseconds;
constexpr std::optional<milliseconds> kUnknown;
milliseconds s(double seconds) { return milliseconds(std::llround(seconds * 1000)); }

struct Case {
  std::optional<milliseconds> length, position;
  PlayEnd how;
  int step;
  ListeningRule rule = {};
  milliseconds poll = s(1);
};

TEST(ListeningRule, EveryBoundary) {
  const ListeningRule other{20, 2, 75};
  const Case cases[] = {
      // A 20-second song left: the grace ends at 5 s, the half at 10 s, the
      // end begins at 18 s (10 % is shorter than 10 s), one poll before it.
      {s(20), s(3), PlayEnd::kLeft, 0},
      {s(20), s(5), PlayEnd::kLeft, 0},
      {s(20), s(5.001), PlayEnd::kLeft, -1},
      {s(20), s(6), PlayEnd::kLeft, -1},
      {s(20), s(9.999), PlayEnd::kLeft, -1},
      {s(20), s(10), PlayEnd::kLeft, 0},
      {s(20), s(11), PlayEnd::kLeft, 0},
      {s(20), s(16.999), PlayEnd::kLeft, 0},
      {s(20), s(17), PlayEnd::kLeft, 1},
      {s(20), s(19.5), PlayEnd::kLeft, 1},
      {s(20), s(17.999), PlayEnd::kLeft, 0, {}, s(0)},
      {s(20), s(18), PlayEnd::kLeft, 1, {}, s(0)},
      // Stopped, paused or started over before the end: nothing; at the end: +1.
      {s(20), s(6), PlayEnd::kStopped, 0},
      {s(20), s(6), PlayEnd::kPaused, 0},
      {s(20), s(6), PlayEnd::kEnded, 0},
      {s(20), s(17), PlayEnd::kStopped, 1},
      {s(20), s(19.9), PlayEnd::kEnded, 1},
      {s(20), s(18), PlayEnd::kPaused, 1, {}, s(0)},
      // Quitting never counts; a player that never told its position neither.
      {s(20), s(19.9), PlayEnd::kQuit, 0},
      {s(20), s(6), PlayEnd::kQuit, 0},
      {s(20), kUnknown, PlayEnd::kLeft, 0},
      {s(20), kUnknown, PlayEnd::kEnded, 0},
      // A long song's end is its last 10 s.
      {s(300), s(289), PlayEnd::kStopped, 1},
      {s(300), s(288.999), PlayEnd::kStopped, 0},
      {s(300), s(149.999), PlayEnd::kLeft, -1},
      // Unknown length (or none): only a leave within 60 s counts, and never up.
      {kUnknown, s(6), PlayEnd::kLeft, -1},
      {kUnknown, s(59.999), PlayEnd::kLeft, -1},
      {kUnknown, s(60), PlayEnd::kLeft, 0},
      {kUnknown, s(5), PlayEnd::kLeft, 0},
      {kUnknown, s(3600), PlayEnd::kEnded, 0},
      {s(0), s(6), PlayEnd::kLeft, -1},
      {s(0), s(6), PlayEnd::kEnded, 0},
      // Songs whose half lies within the grace never lose.
      {s(10), s(5.001), PlayEnd::kLeft, 0},
      {s(8), s(4.5), PlayEnd::kLeft, 0},
      {s(8), s(6.2), PlayEnd::kLeft, 1},  // its end is its last 0.8 s
      {s(8), s(6.199), PlayEnd::kLeft, 0},
      // Other numbers: the end is the last 20 %, the grace 2 s, the skip point 75 %.
      {s(20), s(2), PlayEnd::kLeft, 0, other},
      {s(20), s(2.001), PlayEnd::kLeft, -1, other},
      {s(20), s(14.999), PlayEnd::kLeft, -1, other},
      {s(20), s(15), PlayEnd::kLeft, 1, other},
      {s(100), s(80), PlayEnd::kLeft, 0, other},  // 75 s passed; the end begins at 90 s
      {s(100), s(89), PlayEnd::kLeft, 1, other},
  };
  for (const Case& c : cases) {
    const PlayFacts facts{c.length, c.position, c.how};
    EXPECT_EQ(listening_step(c.rule, facts, c.poll), c.step)
        << "length " << (c.length ? c.length->count() : -1) << " ms, at " << (c.position ? c.position->count() : -1)
        << " ms, end " << static_cast<int>(c.how);
  }
}

}  // namespace
}  // namespace jukora
