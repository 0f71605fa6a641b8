// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/playing_song.h"

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "player/player_link.h"

namespace jukora {

PlayingSong::PlayingSong(PlayerLink& link, const SettingsStore& settings, const Desktop& desktop, EventLoop& loop)
    : link_(link), settings_(settings), desktop_(desktop), timer_(loop.timer(kPlayingLookup, [this] {
        // A message box of some other handler is open: that handler may not
        // be done with the player yet.
        if (!desktop_.showing_modal()) look_up();
      })) {}

PlayingSong::~PlayingSong() = default;

void PlayingSong::start() { timer_->set_enabled(true); }

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
