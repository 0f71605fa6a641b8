// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/player_choice.h"

#include <gtest/gtest.h>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "support/fakes.h"

namespace jukora {
namespace {

TEST(PlayerChoice, AsksThePlayerTheSettingsNameNowAndHearsOnlyIt) {
  MemorySettingsStore settings;
  testing::FakePlayerLink built_in, other;
  other.status = PlayStatus::kPlaying;
  PlayerChoice choice(settings, built_in);
  choice.add("mpris", other);
  int changes = 0;
  choice.on_change = [&] { ++changes; };

  for (const char* kind : {"", "mpv", "unknown"}) {
    settings.SaveSetting(sections::kPlayer, keys::kPlayerKind, kind);
    EXPECT_EQ(&choice.current(), &built_in) << kind;
  }
  other.on_change();
  EXPECT_EQ(changes, 0) << "a player left for another has nothing to say";

  settings.SaveSetting(sections::kPlayer, keys::kPlayerKind, "mpris");
  EXPECT_EQ(choice.reach(), Reach::kRunning);
  EXPECT_EQ(choice.play_status(), PlayStatus::kPlaying);
  EXPECT_TRUE(built_in.calls.empty());
  other.on_change();
  built_in.on_change();
  EXPECT_EQ(changes, 1);

  // The end of a cycle reaches the player it may have run on, too.
  choice.cycle_ended();
  EXPECT_EQ(built_in.calls, std::vector<std::string>{"cycle_ended"});
  EXPECT_EQ(other.calls.back(), "cycle_ended");
}

}  // namespace
}  // namespace jukora
