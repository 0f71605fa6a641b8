// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop player as the player on Linux: whatever runs under the bus name
// the settings give ("player"/"mpris_name"), reached over MPRIS on the D-Bus
// session bus through QtDBus. Songs go over by OpenUri or the player's own
// command line, the export by OpenUri, the TrackList or the command line.
// Every call to the player is asynchronous with a deadline; the link answers
// from what the player last reported (its signals, and a poll at every
// request), so no request waits on the player. Needs a running Qt event loop.
#pragma once

#ifndef _WIN32

#include <functional>
#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "player/mpris/mpris_rules.h"
#include "player/player_link.h"

namespace jukora {

class SettingsStore;

class MprisLink : public PlayerLink, public MprisDirectory {
 public:
  // Whether the process with this id is the program's own mpv, which shows
  // up on the bus as an MPRIS player too and is never the user's.
  using OwnPlayerTest = std::function<bool(long pid)>;

  // Set by the program: tells the user, without a box in the way, that a
  // hand-over which had to wait for the player to come up was refused.
  std::function<void(const std::string&)> tell;
};

// The exported playlist goes into folders.data.
std::unique_ptr<MprisLink> make_mpris_link(const SettingsStore& settings, const AppFolders& folders,
                                           MprisLink::OwnPlayerTest own_player);

}  // namespace jukora

#endif
