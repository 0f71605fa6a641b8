// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpd/mpd_address.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <tuple>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"

namespace jukora {
namespace {

TEST(MpdAddress, DefaultsComeFromTheEnvironmentAsForEveryMpdClient) {
  // The environment, the one path that is a socket, and the address.
  const std::tuple<std::map<std::string, std::string>, std::string, MpdAddress> cases[] = {
      {{}, "", {"localhost", 6600, ""}},
      {{}, "/run/mpd/socket", {"/run/mpd/socket", 6600, ""}},
      {{{"XDG_RUNTIME_DIR", "/run/user/7"}}, "/run/user/7/mpd/socket", {"/run/user/7/mpd/socket", 6600, ""}},
      {{{"MPD_HOST", "music.local"}, {"MPD_PORT", "6601"}}, "/run/mpd/socket", {"music.local", 6601, ""}},
      {{{"MPD_HOST", "pass@word@music.local"}}, "", {"word@music.local", 6600, "pass"}},
      {{{"MPD_HOST", "@mpd"}}, "", {"@mpd", 6600, ""}},
      {{{"MPD_HOST", "/tmp/s"}, {"MPD_PORT", "many"}}, "", {"/tmp/s", 6600, ""}},
  };
  for (const auto& [environment, socket, expected] : cases) {
    MpdAddress address = mpd_default_address(
        [&](const char* name) {
          auto found = environment.find(name);
          return found == environment.end() ? nullptr : found->second.c_str();
        },
        [&](const std::string& path) { return path == socket; });
    EXPECT_EQ(address, expected) << address.describe();
  }
}

TEST(MpdAddress, TheSettingsWinOverTheDefaultsKeyByKey) {
  MemorySettingsStore settings;
  MpdAddress defaults = mpd_default_address();
  EXPECT_EQ(read_mpd_address(settings), defaults);
  settings.SaveSetting(sections::kPlayer, keys::kMpdHost, "::1");
  settings.SaveSetting(sections::kPlayer, keys::kMpdPort, "70000");
  settings.SaveSetting(sections::kPlayer, keys::kMpdMusicFolder, "/music//");
  MpdAddress address = read_mpd_address(settings);
  EXPECT_EQ(address.describe(), "[::1]:" + std::to_string(defaults.port));
  EXPECT_TRUE(address.is_this_computer());
  EXPECT_EQ(address.password, "");
  EXPECT_EQ(read_mpd_music_folder(settings), "/music");
  settings.SaveSetting(sections::kPlayer, keys::kMpdMusicFolder, "~/Music/");
  if (const char* home = std::getenv("HOME")) {
    EXPECT_EQ(read_mpd_music_folder(settings), std::string(home) + "/Music");
  }
}

}  // namespace
}  // namespace jukora
