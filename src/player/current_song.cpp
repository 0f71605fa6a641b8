// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/current_song.h"

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/settings_keys.h"
#include "player/player_link.h"

namespace jukora {

const PlayerTexts& winamp_texts() {
  static const PlayerTexts texts{
      "Winamp",
      "Stop Winamp",
      "Winamp Directory",
      "Select Winamp Dir",
      kExecutableNotFound,
      kNotRunning,
      kTooOld,
      kPlaylistNotFound,
      "Winamp executable directory",
      "Browse for winamp executable directory",
  };
  return texts;
}

std::string playlist_entry(std::string_view text, long position) {
  long entry = -1;
  while (!text.empty()) {
    auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() != '#') {
      if (++entry == position) return std::string(line);
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return {};
}

CurrentSong PlayerLink::current_song(const std::string& winamp_dir) {
  const PlayerTexts words = texts();
  PlayerHandle player = find_winamp();
  if (player == kNoPlayer) return CurrentSong::not_running(words.not_running);
  if (player == kPlayerBusy) return CurrentSong::busy();
  const long answer = version(player);
  if (answer == kStatusBusy) return CurrentSong::busy();
  if (answer < kLowestVersion) return CurrentSong::no_song(words.too_old);
  long position = write_playlist(player);
  if (position < 0) return CurrentSong::no_song();
  std::string path = playlist_path(winamp_dir);
  if (!is_file(path)) return CurrentSong::no_song(words.playlist_not_found, true);
  std::string bytes;
  if (read_whole_file(path, bytes) != ReadResult::kOk) return CurrentSong::no_song();
  std::string entry = playlist_entry(bytes, position);
  if (entry.empty()) return CurrentSong::no_song();
  return CurrentSong::song(std::move(entry));
}

std::string PlayerLink::missing_program(const std::string& winamp_dir) const {
  return is_file(executable_path(winamp_dir)) ? std::string() : texts().executable_not_found;
}

std::string get_current_song(PlayerLink& link, const SettingsStore& settings, Desktop& desktop) {
  CurrentSong song = link.current_song(read_winamp_dir(settings));
  if (!song.message.empty()) desktop.message_box(song.message);
  if (song.show_preferences) desktop.show_preferences();
  return song.kind == CurrentSong::Kind::kSong ? song.path : std::string();
}

}  // namespace jukora
