#include "winamp/current_song.h"

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/settings_keys.h"
#include "winamp/winamp_link.h"

namespace jukora {

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

std::string get_current_song(WinampLink& link, const SettingsStore& settings, Desktop& desktop) {
  PlayerHandle player = link.find_winamp();
  if (player == kNoPlayer) {
    desktop.message_box(kNotRunning);
    return {};
  }
  if (link.version(player) < kLowestVersion) {
    desktop.message_box(kTooOld);
    return {};
  }
  long position = link.write_playlist(player);
  if (position < 0) return {};
  std::string path = link.playlist_path(read_winamp_dir(settings));
  if (!is_file(path)) {
    desktop.message_box(kPlaylistNotFound);
    desktop.show_preferences();
    return {};
  }
  std::string bytes;
  if (read_whole_file(path, bytes) != ReadResult::kOk) return {};
  return playlist_entry(bytes, position);
}

}  // namespace jukora
