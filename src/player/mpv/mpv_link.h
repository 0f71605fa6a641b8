// SPDX-License-Identifier: GPL-3.0-or-later
// mpv as the player on Linux and other POSIX systems, built in: Jukora
// starts one mpv of its own in the background (no window, --keep-open, no
// unsafe playlists) and drives it over its JSON IPC socket in the program's
// private socket folder: a song or a playlist replaces mpv's playlist, and
// mpv names the entry it is at. The player folder ("winamp_dir") is the
// folder that holds `mpv`. POSIX only.
#pragma once

#ifndef _WIN32

#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "player/player_link.h"

namespace jukora {

class MpvLink : public PlayerLink {
 public:
  // Where mpv listens; empty when no private folder could be had.
  virtual std::string socket_path() = 0;
};

// The socket goes into the program's private socket folder, the playlist
// file into folders.data.
std::unique_ptr<MpvLink> make_mpv_link(const AppFolders& folders);

}  // namespace jukora

#endif
