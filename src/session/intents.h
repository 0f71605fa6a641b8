// SPDX-License-Identifier: GPL-3.0-or-later
// What the program is asked to do from outside its grid: by the tray icons,
// the command line and the remote socket, and the desktop's actions, which
// run the command line. Each runs to its end and shows what it did.
#pragma once

#include <string>

#include "songlist/song_events.h"

namespace jukora {

struct CommandReply;

class Intents {
 public:
  virtual ~Intents() = default;

  // The playing song's Score up or down by one; the song is added when it
  // is not listed and the Preferences say so. `source` is where the ask came
  // from, which the undo step and the score events keep.
  virtual void increment(ChangeSource source) = 0;
  virtual void decrement(ChangeSource source) = 0;
  // Stops the song so that the play cycle moves on; with no cycle set,
  // starts Random "All".
  virtual void skip() = 0;
  // The songlist window shown and brought to the front.
  virtual void show() = 0;
  // The songlist window shown when hidden, hidden when shown.
  virtual void toggle_list() = 0;
  // The mode menu, at the mouse.
  virtual void open_mode_menu() = 0;
  // The last change to the songlist taken back, as the mode menu's Undo does.
  virtual void undo() = 0;
  // The ratings of `source` (a path, or "mpd") imported into the songlist;
  // a dry run changes nothing. The outcome goes to `reply`.
  virtual void import_ratings(const std::string& source, bool dry_run, const CommandReply& reply) = 0;
};

}  // namespace jukora
