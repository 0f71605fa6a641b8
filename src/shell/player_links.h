// SPDX-License-Identifier: GPL-3.0-or-later
// The player link the program talks to and the backends behind it. Built
// once, by make_player_link: on Linux the built-in mpv, a desktop player
// over MPRIS and MPD, of which the setting "player"/"kind" picks one at each
// request; on Windows Winamp.
#pragma once

#include <memory>

namespace jukora {

class Desktop;
class MprisDirectory;
class PlayerLink;
class SettingsStore;
struct AppFolders;

class PlayerLinks {
 public:
  virtual ~PlayerLinks() = default;
  virtual PlayerLink& link() = 0;
  // The desktop players on the bus, for the Preferences; none on Windows.
  virtual MprisDirectory* mpris_directory() { return nullptr; }
};

// The players this build drives. A backend tells the user of what happens
// without a box in the way through `desktop`.
std::unique_ptr<PlayerLinks> make_player_link(SettingsStore& settings, const AppFolders& folders, Desktop& desktop);

// One link owned elsewhere, such as a test's fake.
class OnePlayerLink : public PlayerLinks {
 public:
  explicit OnePlayerLink(PlayerLink& link) : link_(link) {}
  PlayerLink& link() override { return link_; }

 private:
  PlayerLink& link_;
};

}  // namespace jukora
