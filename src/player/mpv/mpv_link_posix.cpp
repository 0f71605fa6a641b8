// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching Jukora's own mpv over its socket (starting one when asked) and
// asking it where it is; handing songs over is in mpv_hand_over_posix.cpp.
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "platform/local_path.h"
#include "platform/private_folder.h"
#include "player/detached_spawn.h"
#include "player/mpv/mpv_ipc_link.h"
#include "player/mpv/mpv_replies.h"

namespace jukora::mpv_ipc {

namespace {

std::string foreign_socket_text(const std::string& socket) {
  return socket + " is not Jukora's own mpv socket, so mpv is not started. Remove it and try again.";
}

}  // namespace

std::string MpvIpcLink::folder_program(const std::string& player_dir) const { return join_path(player_dir, "mpv"); }

std::string MpvIpcLink::playlist_path(const std::string&) const { return join_path(data_folder_, "winamp.m3u"); }

PlayerTexts MpvIpcLink::texts() const {
  // The program starts its own mpv, so "run it manually" would not help.
  return {
      "mpv",
      "Stop mpv",
      "mpv Folder",
      "Select mpv Folder",
      "mpv not found.  Is the mpv folder in Preferences the one that holds the mpv program?",
      "mpv is not running.  To run mpv, select a playmode or play a song from the list.",
      "The folder that holds the mpv program",
      "Browse for the folder that holds mpv",
  };
}

std::string MpvIpcLink::socket_path() {
  if (socket_path_) return *socket_path_;
  // Stable names, so that the program finds the mpv it started in an
  // earlier run.
  std::string folder = private_socket_folder(data_folder_, kSocketName.size());
  if (folder.empty()) return {};
  socket_path_ = join_path(folder, kSocketName);
  return *socket_path_;
}

std::string MpvIpcLink::missing_program(const std::string& player_dir) const {
  std::string missing = MpvLink::missing_program(player_dir);
  if (!missing.empty() || !socket_path_) return missing;
  SocketCheck check = check_own_socket(*socket_path_);
  if (check == SocketCheck::kForeign || (check == SocketCheck::kOwnSocket && foreign_listener_))
    return foreign_socket_text(*socket_path_);
  return {};
}

bool MpvIpcLink::spawn_pending() const {
  return pending_ && Clock::now() < pending_->deadline && process_exists(pending_->pid);
}

MpvIpcLink::Contact MpvIpcLink::contact() {
  if (Clock::now() < quiet_until_) return {Presence::kBusy, std::nullopt};
  const std::string path = socket_path();
  if (path.empty()) return {Presence::kGone, std::nullopt};
  // Whoever can put a link or a socket of their own there could take our
  // commands or feed us answers.
  switch (check_own_socket(path)) {
    case SocketCheck::kForeign:
      return {Presence::kForeign, std::nullopt};
    case SocketCheck::kMissing:
      foreign_listener_ = false;
      return {spawn_pending() ? Presence::kBusy : Presence::kGone, std::nullopt};
    case SocketCheck::kOwnSocket:
      break;
  }
  MpvSession::Refusal why{};
  auto session = MpvSession::connect(path, kMpvReplyTimeout, &why);
  if (!session) {
    // A player we just started is not listening yet.
    if (why == MpvSession::Refusal::kGone && !spawn_pending()) return {Presence::kGone, std::nullopt};
    return {Presence::kBusy, std::nullopt};
  }
  foreign_listener_ = !peer_is_this_user(session->fd());
  if (foreign_listener_) return {Presence::kForeign, std::nullopt};
  pending_.reset();
  return {Presence::kAnswers, std::move(session)};
}

MpvIpcLink::Contact MpvIpcLink::contact_or_start() {
  Contact found = contact();
  if (found.state != Presence::kGone || !bare_start_) {
    if (found.state != Presence::kGone) bare_start_.reset();
    return found;
  }
  const std::string player_dir = *std::exchange(bare_start_, std::nullopt);
  spawn(player_dir, {});
  return {Presence::kBusy, std::nullopt};
}

std::optional<std::vector<MpvReply>> MpvIpcLink::ask(MpvSession& session,
                                                     const std::vector<std::vector<std::string>>& commands) {
  std::vector<MpvReply> replies = session.ask_all(commands);
  if (!session.lost()) {
    coming_up_ = false;
    return replies;
  }
  quiet_until_ = Clock::now() + kQuietAfterTimeout;
  return std::nullopt;
}

Reach MpvIpcLink::reach() {
  Contact found = contact_or_start();
  switch (found.state) {
    case Presence::kAnswers:
      // Running means answering: until a new player has, it is coming up.
      return !coming_up_ || ask(*found.session, {kAskIdle}) ? Reach::kRunning : Reach::kBusy;
    case Presence::kBusy:
      return Reach::kBusy;
    case Presence::kGone:
    case Presence::kForeign:
      break;
  }
  return Reach::kNotRunning;
}

// "current" names the entry mpv is at, also while a new one loads. Just
// after a start or a replacing load mpv is busy but at no entry yet: it is
// about to play the first one, and that is the song to score. Stopped, it is
// at none.
std::optional<MpvIpcLink::Playlist> MpvIpcLink::ask_playlist(MpvSession& session,
                                                             const std::vector<std::string>& then) {
  std::vector<std::vector<std::string>> commands = {kAskPlaylist, kAskIdle};
  if (!then.empty()) commands.push_back(then);
  auto replies = ask(session, commands);
  if (!replies) return std::nullopt;
  const MpvReply& idle = (*replies)[1];
  Playlist state{playlist_entries((*replies)[0])};
  for (const char* flag : {"current", "playing"})
    for (std::size_t i = 0; i < state.entries.size() && state.position < 0; ++i)
      if (has_flag(state.entries[i], flag)) state.position = static_cast<long>(i);
  if (state.position < 0 && !state.entries.empty() && idle.ok && idle.data.is_boolean() && !idle.data.get<bool>())
    state.position = 0;
  // mpv answers a stop before it has left the entry: until it is idle at
  // none, it is at no song.
  if (stopping_) {
    stopping_ = state.position >= 0 || !is_true(idle);
    state.position = -1;
  }
  return state;
}

CurrentSong MpvIpcLink::current_song(const std::string& player_dir) {
  auto found = contact_or_start();
  switch (found.state) {
    case Presence::kBusy:
      return CurrentSong::busy();
    case Presence::kGone:
      return CurrentSong::not_running(texts().not_running);
    case Presence::kForeign:
      return CurrentSong::no_song(missing_program(player_dir));
    case Presence::kAnswers:
      break;
  }
  auto playlist = ask_playlist(*found.session);
  if (!playlist) return CurrentSong::busy();
  if (playlist->position < 0) return CurrentSong::no_song();
  std::string file = file_of(playlist->entries[static_cast<std::size_t>(playlist->position)]);
  return file.empty() ? CurrentSong::no_song() : CurrentSong::song(std::move(file));
}

PlayStatus MpvIpcLink::play_status() {
  auto found = contact_or_start();
  if (found.state == Presence::kBusy) return PlayStatus::kBusy;
  if (!found.session) return PlayStatus::kStopped;
  auto replies = ask(*found.session,
                     {{"get_property", "idle-active"}, {"get_property", "pause"}, {"get_property", "eof-reached"}});
  if (!replies) return PlayStatus::kBusy;
  if (!(*replies)[0].ok || is_true((*replies)[0])) return PlayStatus::kStopped;
  // --keep-open holds the last song at its end: that is stopped. It pauses
  // there too, unless the user's own mpv settings say keep-open-pause=no.
  if (is_true((*replies)[2])) return PlayStatus::kStopped;
  return is_true((*replies)[1]) ? PlayStatus::kPaused : PlayStatus::kPlaying;
}

PlayPosition MpvIpcLink::play_position() {
  auto found = contact_or_start();
  if (found.state == Presence::kBusy) return {};
  if (!found.session) return {PlayStatus::kStopped};
  auto replies = ask(*found.session, {{"get_property", "idle-active"},
                                      {"get_property", "pause"},
                                      {"get_property", "eof-reached"},
                                      {"get_property", "time-pos"},
                                      {"get_property", "duration"}});
  if (!replies) return {};
  // Either is unavailable (an error) while mpv has no file loaded, and the
  // duration of a stream mpv cannot measure.
  auto millis = [](const MpvReply& reply) {
    return player_seconds(reply.ok && reply.data.is_number() ? std::optional(reply.data.get<double>()) : std::nullopt);
  };
  PlayPosition at{PlayStatus::kPlaying, millis((*replies)[3]), millis((*replies)[4])};
  if (!(*replies)[0].ok || is_true((*replies)[0]) || is_true((*replies)[2]))
    at.status = PlayStatus::kStopped;
  else if (is_true((*replies)[1]))
    at.status = PlayStatus::kPaused;
  return at;
}

void MpvIpcLink::stop() {
  handed_.reset();
  auto found = contact_or_start();
  if (found.session && ask(*found.session, {{"stop", "keep-playlist"}})) stopping_ = true;
}

// A bare mpv could not take a song before it listens.
void MpvIpcLink::start(const std::string& player_dir) { bare_start_ = player_dir; }

HandOver MpvIpcLink::launch(const std::string& player_dir, const Contact& found,
                            const std::vector<std::string>& arguments) {
  // One player only: a busy one gets the work later, and none is ever
  // started beside one that does not answer.
  if (found.state != Presence::kGone || !spawn(player_dir, arguments)) return HandOver::busy();
  return HandOver::started();
}

bool MpvIpcLink::spawn(const std::string& player_dir, const std::vector<std::string>& arguments) {
  // The folder is chosen and made afresh for every new mpv: a sweep of old
  // files may have taken it away while we ran, and an mpv told to listen in
  // a missing folder plays on out of reach, so every later start would add
  // another.
  socket_path_.reset();
  std::string socket = socket_path();
  if (socket.empty()) return false;
  std::vector<std::string> options = {
      "--input-ipc-server=" + socket,
      "--idle=yes",
      "--force-window=no",
      "--no-terminal",
      // At a song's end mpv stays at that entry, so the song can still be
      // scored.
      "--keep-open=yes",
      "--audio-display=no",
      // Songlists are shared files: whatever the user's mpv settings say, a
      // playlist never opens a protocol.
      "--load-unsafe-playlists=no",
  };
  options.insert(options.end(), arguments.begin(), arguments.end());
  auto pid = spawn_detached(folder_program(player_dir), options);
  if (!pid) return false;
  pending_ = PendingSpawn{*pid, Clock::now() + kSpawnDeadline};
  coming_up_ = true;
  return true;
}

}  // namespace jukora::mpv_ipc

namespace jukora {

std::unique_ptr<MpvLink> make_mpv_link(const AppFolders& folders) {
  return std::make_unique<mpv_ipc::MpvIpcLink>(folders);
}

}  // namespace jukora
