// SPDX-License-Identifier: GPL-3.0-or-later
// The session's ear for scores that learn from listening: while "Learn
// scores from listening" is on it looks at the player once a second (where
// it is in which song) and hands what it sees to ListeningScores; Jukora's
// own Skip and the player's seeks come in between. While the option is off
// it asks the player nothing.
#pragma once

#include <chrono>
#include <memory>

#include "scoring/listening_scores.h"

namespace jukora {

class CurrentSongScoring;
class Desktop;
class EventLoop;
class PlayerLink;
class SettingsStore;
class Songlist;
class SonglistFiles;
class SongEvents;
class Timer;

inline constexpr std::chrono::milliseconds kListeningLook{1000};

class ListeningWatch {
 public:
  ListeningWatch(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, Desktop& desktop, PlayerLink& link,
                 CurrentSongScoring& scoring, SongEvents& events, EventLoop& loop);
  ~ListeningWatch();

  // The looks begin.
  void start();
  // One look now, as the timer takes them.
  void look();
  // Jukora's own Skip is about to stop the song: the play is left where a
  // look made now finds it.
  void skipping();
  // Jukora quits: the play going on ends without a judgement.
  void quit() { scores_.quit(); }

 private:
  PlayerLook player_look();

  SettingsStore& settings_;
  PlayerLink& link_;
  CurrentSongScoring& scoring_;
  ListeningScores scores_;
  std::unique_ptr<Timer> timer_;
};

}  // namespace jukora
