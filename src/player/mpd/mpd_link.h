// SPDX-License-Identifier: GPL-3.0-or-later
// A Music Player Daemon as the player, local or on another machine, through
// libmpdclient. Jukora never starts or stops MPD itself: it replaces MPD's
// queue with the song or playlist it hands over, and reads MPD's state and
// current song. POSIX only.
#pragma once

#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "player/player_link.h"

namespace jukora {

class SettingsStore;

// Host, port, password and music folder are read from `settings` (section
// "player") at every use; the export's playlist file goes into folders.data.
std::unique_ptr<PlayerLink> make_mpd_link(const SettingsStore& settings, const AppFolders& folders);

}  // namespace jukora
