// SPDX-License-Identifier: GPL-3.0-or-later
// A broken or hostile MPD never holds the window: whoever asks it, no
// request waits on the event loop for long, and a server that fails is
// tried again less and less often.
#include <gtest/gtest.h>

#include "shell/hostile_mpd_scene.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using Kind = HostileMpd::Kind;

class HostileMpdTest : public ::testing::TestWithParam<Kind> {};

TEST_P(HostileMpdTest, TheWindowIsNeverHeldAndConnectionsBackOff) {
  TempDir folder;
  HostileMpd server(folder.file("mpd-socket"), GetParam());
  ASSERT_TRUE(server.listening());
  MpdAskers askers(folder.path().string(), folder.file("mpd-socket"));
  EventLoopWatch watch;
  askers.run(std::chrono::seconds(6));
  // The program holds it for a quarter of a second at most; the bound leaves
  // room for a busy machine (the benchmark tells the real figure).
  EXPECT_LT(watch.longest(), std::chrono::seconds(1));
  // The window's link, the sticker mirror and the import, each backing off:
  // far fewer than one connection a tick.
  EXPECT_LE(server.connections(), 16);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, HostileMpdTest,
                         ::testing::Values(Kind::kLongLine, Kind::kTrickle, Kind::kSilent, Kind::kSlow),
                         [](const auto& info) { return hostile_mpd_name(info.param); });

}  // namespace
}  // namespace jukora::testing
