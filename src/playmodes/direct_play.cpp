// SPDX-License-Identifier: GPL-3.0-or-later
// Playing the current row at once: no recompute, no save, no change to the
// play cycle; the next save, or Exit, keeps the new Last Played. A player
// that confirms its songs is followed until it plays this one: the timer
// runs for that alone when no cycle does.
#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "playmodes/play_modes.h"
#include "playmodes/player_ready.h"
#include "songlist/song_events.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

void PlayModes::play_row(int r) {
  std::string dir = read_winamp_dir(settings_);
  if (!player_ready(link_, dir, desktop_)) return;
  if (!songlist_.is_song(r)) return;
  const std::string song = join_path(songlist_.directory(r), songlist_.file(r));
  bool ask_again = false;
  std::string why;
  if (auto pass = unplayable(song, kLookBudget, ask_again)) {
    why = *pass == Pass::kNotLocal  ? "it is not a file on this computer."
          : *pass == Pass::kMissing ? "the file is missing."
                                    : "the file cannot be reached.";
  } else {
    HandOver handed = link_.play_file(dir, song);
    if (handed.result == HandOver::Result::kBusy)
      why = link_.texts().name + " is not answering. Try again in a moment.";
    if (handed.result == HandOver::Result::kRefused) why = handed.reason;
  }
  if (!why.empty()) {
    desktop_.message_box("Cannot play " + song + ": " + why);
    return;
  }
  // The player plays this one now, not a cycle's song it was waiting for.
  const LastPlayed before = songlist_.last_played(r), now(clock_.now());
  files_.set_last_played(r, now);
  in_flight_ = InFlight{
      std::string(songlist_.directory(r)), std::string(songlist_.file(r)), Record::kLastPlayed, true, before, now};
  if (land_in_flight() || cycle_timer_.enabled()) return;
  direct_ticks_ = true;
  cycle_timer_.set_enabled(true);
}

}  // namespace jukora
