// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/listening_watch.h"

#include "platform/event_loop.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "scoring/current_song_scoring.h"
#include "songlist/song_events.h"

namespace jukora {

ListeningWatch::ListeningWatch(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, Desktop& desktop,
                               PlayerLink& link, CurrentSongScoring& scoring, SongEvents& events, EventLoop& loop)
    : settings_(settings),
      link_(link),
      scoring_(scoring),
      scores_(songlist, files, settings, desktop, kListeningLook),
      timer_(loop.timer(kListeningLook, [this] { look(); })) {
  events.on_scores([this](const std::vector<ScoreChange>& changes) { scores_.scores_changed(changes); });
  link_.on_seeked = [this](std::chrono::milliseconds position) {
    if (read_listen_scores(settings_)) scores_.seeked(position);
  };
}

ListeningWatch::~ListeningWatch() { link_.on_seeked = nullptr; }

void ListeningWatch::start() { timer_->set_enabled(true); }

void ListeningWatch::look() {
  // Off, the player is not asked: ListeningScores forgets the play it followed.
  const PlayerLook seen = read_listen_scores(settings_) ? player_look() : PlayerLook{PlayerLook::State::kSilent};
  scores_.look(seen, scoring_.has_waiting());
}

void ListeningWatch::skipping() {
  if (!read_listen_scores(settings_)) return;
  look();
  scores_.leaving();
}

PlayerLook ListeningWatch::player_look() {
  using State = PlayerLook::State;
  const PlayPosition at = link_.play_position();
  switch (at.status) {
    case PlayStatus::kBusy:
      return {State::kSilent};
    case PlayStatus::kStopped:
      return {State::kStopped};
    case PlayStatus::kPlaying:
    case PlayStatus::kPaused:
      break;
  }
  const CurrentSong song = link_.current_song(read_winamp_dir(settings_));
  if (song.kind == CurrentSong::Kind::kBusy) return {State::kSilent};
  if (song.kind == CurrentSong::Kind::kNotRunning) return {State::kGone};
  PlayerLook look{at.status == PlayStatus::kPaused ? State::kPaused : State::kPlaying};
  if (song.kind == CurrentSong::Kind::kSong && is_local_file_path(song.path)) look.song = song.path;
  look.position = at.position;
  look.length = at.length;
  return look;
}

}  // namespace jukora
