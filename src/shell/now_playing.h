// SPDX-License-Identifier: GPL-3.0-or-later
// The song the player is at, kept in view: its row marked in the grid and
// "Show Playing" (Ctrl+J and the mode menu). It follows the player with its
// own quiet lookup, never the play cycle's tick.
#pragma once

#include "shell/playing_song.h"

namespace jukora {

class Form1;
class Intents;
class PlayerLink;
class SettingsStore;
class Songlist;

class NowPlaying {
 public:
  NowPlaying(PlayerLink& link, const SettingsStore& settings, Songlist& songlist, Form1& window, Intents& intents);
  ~NowPlaying();
  NowPlaying(const NowPlaying&) = delete;
  NowPlaying& operator=(const NowPlaying&) = delete;

  // The lookups begin.
  void start();

  // The window shown with the playing song's row selected and in view; the
  // status line says why when there is none.
  void show_playing();

  PlayingSong& playing() { return playing_; }

 private:
  // The mark follows the song.
  void follow();
  // The data row of the playing song, 0 when none or not listed.
  int playing_row() const;

  Songlist& songlist_;
  Form1& window_;
  Intents& intents_;
  PlayingSong playing_;
};

}  // namespace jukora
