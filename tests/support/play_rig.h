// SPDX-License-Identifier: GPL-3.0-or-later
// The play modes and current-song scoring around a player link, on a fixed
// clock and timers the test ticks itself, as the shell wires them.
#pragma once

#include "playmodes/play_modes.h"
#include "scoring/current_song_scoring.h"
#include "support/saved_songlist.h"

namespace jukora::testing {

struct PlayRig {
  PlayRig(SavedSonglist& saved, PlayerLink& link)
      : modes{saved.songlist, saved.files, saved.settings, link, saved.desktop, clock, timer},
        scoring{saved.songlist, saved.files, saved.settings, link, saved.desktop, retry} {}

  FakeClock clock;
  FakeTimer timer;  // the cycle's
  PlayModes modes;
  FakeTimer retry;  // the scoring's, for clicks that meet a busy player
  CurrentSongScoring scoring;
};

}  // namespace jukora::testing
