// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening, through a real, private MPD: 20-second
// songs seeked to each side of the rule's boundaries, MPD's own pause and
// next.
#include "player/mpd/mpd_fixture.h"
#include "support/listening_rig.h"

namespace jukora::testing {
namespace {

class ListeningMpdTest : public MpdFixture {
 protected:
  // Outside MPD's music folder, handed over by their absolute paths.
  ListeningRig listening{
      *this, mpd, temp.file("songs"),
      ListeningHands{
          .seek = [this](double at) { return server.command("seekcur " + std::to_string(at)) == "OK\n"; },
          .pause = [this] { server.command("pause 1"); },
          .next =
              [this](const std::string& song) {
                server.command("add \"" + song + "\"");
                server.command("next");
              },
          .eventually = [](const auto& done, std::chrono::milliseconds limit) { return eventually(done, limit); },
      }};
};

TEST_F(ListeningMpdTest, SeeksToEachBoundaryThenSkipNextPauseStopOrTheEnd) {
  for (const ListeningPlay& play : kBoundaryPlays) listening.play(play);
}

}  // namespace
}  // namespace jukora::testing
