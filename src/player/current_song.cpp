// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/current_song.h"

#include "platform/desktop.h"
#include "platform/settings_keys.h"
#include "player/player_link.h"

namespace jukora {

std::string get_current_song(PlayerLink& link, const SettingsStore& settings, Desktop& desktop) {
  CurrentSong song = link.current_song(read_winamp_dir(settings));
  if (!song.message.empty()) desktop.message_box(song.message);
  if (song.show_preferences) desktop.show_preferences();
  return song.kind == CurrentSong::Kind::kSong ? song.path : std::string();
}

}  // namespace jukora
