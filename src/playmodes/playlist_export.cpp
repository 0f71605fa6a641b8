// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/playlist_export.h"

#include <algorithm>
#include <string_view>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "playmodes/play_modes.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"

namespace jukora {

std::string playlist_text(const Songlist& songlist, int count, bool descending, int& songs) {
  std::string text;
  songs = 0;
  auto add_line = [&](int row) {
    const std::string_view dir = songlist.directory(row);
    std::string line = join_path(dir, songlist.file(row));
    if (!dir.empty()) {
      // Songlists are shared files: a line that is not a local file, or one
      // broken in two, could make the player open anything.
      if (!is_local_file_path(line) || line.find_first_of("\r\n") != std::string::npos) return;
      ++songs;
    }
    text += line;
    text += "\r\n";
  };
  if (descending) {
    for (int i = count; i >= 1; --i) add_line(i);
  } else {
    for (int i = 1; i <= count; ++i) add_line(i);
  }
  return text;
}

void PlayModes::export_playlist(Scope scope, bool descending) {
  std::string dir;
  if (!executable_ready(dir)) return;
  if (link_.reach() == Reach::kNotRunning) link_.start(dir);

  // The feeding stops; play_mode stays, so a later Skip only stops the player.
  clear_marks();
  cycle_timer_.set_enabled(false);
  in_flight_.reset();
  const int rows = songlist_.Rows() - 1;
  const int count = scope == Scope::kAll ? rows : std::min(kTopRows, rows);

  std::string error;
  int songs = 0;
  const std::string text = playlist_text(songlist_, count, descending, songs);
  // A playlist that cannot be written is not handed to the player; like a
  // failed start, this stays quiet by design.
  if (!write_file_atomically(link_.playlist_path(dir), text, error)) return;
  // The blank row of an empty songlist is written as the bare separator, which
  // a player takes for the root folder and would load whole: such a list is
  // written but not played.
  if (songs == 0) return;
  HandOver handed = link_.play_playlist(dir);
  if (handed.result == HandOver::Result::kBusy)
    desktop_.notify(link_.texts().name + " is not answering: the playlist was written but not started.");
  if (handed.result == HandOver::Result::kRefused)
    desktop_.notify("The playlist was written but not started.  " + handed.reason);
}

}  // namespace jukora
