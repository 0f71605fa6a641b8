// SPDX-License-Identifier: GPL-3.0-or-later
// Handing songs and playlists to mpv, and telling when a song handed over
// plays, or why mpv gave it up.
#include <string>
#include <utility>

#include "platform/local_path.h"
#include "player/mpv/mpv_ipc_link.h"
#include "player/mpv/mpv_replies.h"

namespace jukora::mpv_ipc {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

HandOver MpvIpcLink::play_file(const std::string& player_dir, const std::string& song_path) {
  // An absolute path: mpv cannot read it as a protocol or an option.
  if (!is_local_file_path(song_path)) return HandOver::refused("It is not a file on this computer.");
  handed_.reset();
  stopping_ = false;
  auto found = contact();
  bare_start_.reset();
  if (found.state == Presence::kAnswers) {
    handed_.emplace(Handed{song_path});
    if (!load(*found.session, song_path)) {
      handed_.reset();
      return HandOver::busy();
    }
    handed_->session.emplace(std::move(*found.session));
    return HandOver::started();
  }
  HandOver handed = launch(player_dir, found, {"--", song_path});
  if (handed.result == HandOver::Result::kStarted)
    handed_.emplace(Handed{song_path, std::nullopt, std::nullopt, Clock::now() + kSpawnDeadline, true});
  return handed;
}

Arrival MpvIpcLink::arrival() {
  if (!handed_) return {};
  const Arrival awaited{Arrival::State::kAwaited, {}};
  if (auto why = said()) return missed(": " + *why + ".");
  if (Clock::now() < handed_->first_look) return awaited;
  Contact found = contact();
  if (found.state == Presence::kBusy && Clock::now() < handed_->deadline) return awaited;
  if (found.state == Presence::kBusy && !handed_->new_player) return missed(": it did not answer for 10 s.");
  if (found.state != Presence::kAnswers) {
    const bool new_player = std::exchange(handed_, std::nullopt)->new_player;
    if (!new_player) return {Arrival::State::kLost, {}};
    return {Arrival::State::kMissed,
            "mpv ended, or did not answer within 10 s of its start, before it played the song.  Run mpv with a song "
            "in a terminal to see why (its mpv.conf, for one).",
            true};
  }
  auto replies = ask(*found.session, {kAskPlaylist, kAskIdle, kAskPlayed});
  if (!replies) return awaited;
  bool at_song = false;
  for (const auto& entry : playlist_entries((*replies)[0]))
    if (handed_->entry ? entry_id(entry) == handed_->entry : file_of(entry) == handed_->path)
      at_song = has_flag(entry, "current") || has_flag(entry, "playing");
  const MpvReply& played = (*replies)[2];
  if (at_song && played.ok && played.data.is_number() && played.data.get<double>() > 0) {
    handed_.reset();
    return {};
  }
  if (!at_song && is_true((*replies)[1])) {
    // An mpv started with the song said nothing to us: handed over once more
    // on a connection of ours, to hear why.
    if (!handed_->handed_again && !handed_->session) {
      handed_->handed_again = true;
      if (load(*found.session, handed_->path)) handed_->session.emplace(std::move(*found.session));
      return awaited;
    }
    const auto why = said();
    return missed(why ? ": " + *why + "." : ".");
  }
  if (Clock::now() >= handed_->deadline) return missed(" within " + std::to_string(kPlayDeadline.count()) + " s.");
  return awaited;
}

std::optional<std::string> MpvIpcLink::said() {
  if (!handed_->session) return std::nullopt;
  for (const auto& event : handed_->session->take_events())
    if (auto why = failure_of(event); why && (!handed_->entry || entry_id(event) == handed_->entry)) return why;
  return std::nullopt;
}

Arrival MpvIpcLink::missed(const std::string& why) {
  const std::string path = std::exchange(handed_, std::nullopt)->path;
  const std::string file = path.substr(path.rfind('/') + 1);
  return {Arrival::State::kMissed, "mpv did not play " + quoted(file) + why};
}

bool MpvIpcLink::load(MpvSession& session, const std::string& path) {
  session.keep_events("end-file");
  // The end of the last song left mpv paused (--keep-open); a new song
  // plays, as it would in a freshly started player.
  auto replies = ask(session, {{"loadfile", path, "replace"}, {"set", "pause", "no"}});
  if (!replies || !(*replies)[0].ok) return false;
  handed_->entry = entry_id((*replies)[0].data);
  handed_->deadline = Clock::now() + kPlayDeadline;
  handed_->first_look = Clock::now() + kFirstLook;
  return true;
}

HandOver MpvIpcLink::play_playlist(const std::string& player_dir) {
  std::string playlist = playlist_path(player_dir);
  if (!is_local_file_path(playlist)) return HandOver::refused("It is not a file on this computer.");
  handed_.reset();
  stopping_ = false;
  auto found = contact();
  bare_start_.reset();
  if (found.state == Presence::kAnswers)
    return ask(*found.session, {{"loadlist", playlist, "replace"}, {"set", "pause", "no"}}) ? HandOver::started()
                                                                                            : HandOver::busy();
  return launch(player_dir, found, {"--playlist=" + playlist});
}

}  // namespace jukora::mpv_ipc
