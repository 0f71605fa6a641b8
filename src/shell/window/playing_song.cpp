// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/playing_song.h"

#include <QApplication>

#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "player/player_link.h"
#include "songlist/paths.h"

namespace jukora {

PlayingSong::PlayingSong(PlayerLink& link, const SettingsStore& settings, QObject* parent)
    : QObject(parent), link_(link), settings_(settings) {
  timer_.setInterval(kPlayingLookupMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    // A message box of some other handler is open: that handler may not be
    // done with the player yet.
    if (QApplication::activeModalWidget()) return;
    look_up();
  });
}

void PlayingSong::look_up() {
  // The answer's message is for the scoring that asks on a click; this
  // lookup only looks.
  const CurrentSong song = link_.current_song(read_winamp_dir(settings_));
  if (song.kind == CurrentSong::Kind::kBusy) return;
  const bool local = song.kind == CurrentSong::Kind::kSong && is_local_file_path(song.path);
  path_ = local ? song.path : std::string();
  if (on_look_up) on_look_up();
}

}  // namespace jukora
