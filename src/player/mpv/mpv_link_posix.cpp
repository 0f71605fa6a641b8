// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "platform/local_path.h"
#include "platform/private_folder.h"
#include "player/detached_spawn.h"
#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "player/mpv/mpv_replies.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// mpv listens about 100 ms after it was started; until then, or until it is
// gone, it is busy. A loaded machine may take much longer.
constexpr std::chrono::seconds kSpawnDeadline{10};
// After mpv let a request run out, it is busy for this long without being
// asked again: every tick or click would otherwise wait on it anew.
constexpr std::chrono::seconds kQuietAfterTimeout{1};
// A song handed over has this long to begin playing, and is first asked
// after.
constexpr std::chrono::seconds kPlayDeadline{10};
constexpr std::chrono::milliseconds kFirstLook{200};

constexpr std::string_view kSocketName = "mpv-socket";

const std::vector<std::string> kAskPlaylist = {"get_property", "playlist"};
const std::vector<std::string> kAskIdle = {"get_property", "idle-active"};
const std::vector<std::string> kAskPlayed = {"get_property", "playback-time"};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string foreign_socket_text(const std::string& socket) {
  return socket + " is not Jukora's own mpv socket, so mpv is not started. Remove it and try again.";
}

class MpvIpcLink : public MpvLink {
 public:
  explicit MpvIpcLink(const AppFolders& folders) : data_folder_(folders.data) {}

  Reach reach() override;
  PlayStatus play_status() override;
  // Its state with "time-pos" and "duration", in one request.
  PlayPosition play_position() override;
  // Asks mpv for the entry it is at, in one request.
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  // A song plays once mpv is at it and its playback time has moved; one
  // that mpv gave up is missed, with what mpv said.
  Arrival arrival() override;
  HandOver play_playlist(const std::string& player_dir) override;
  // In the data folder: the player folder may be the system's.
  std::string playlist_path(const std::string& player_dir) const override;
  void stop() override;
  // mpv is started at the next request: a song or a playlist handed over
  // then starts it playing at once; any other request starts it idle.
  void start(const std::string& player_dir) override;

  // Also refuses while the socket's place holds something that is not this
  // user's mpv: mpv is never started over it.
  std::string missing_program(const std::string& player_dir) const override;
  std::string folder_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;

  std::string socket_path() override;

 private:
  // The song handed over last, until mpv is seen playing it or gives it up.
  struct Handed {
    std::string path;
    std::optional<std::int64_t> entry;  // mpv's playlist entry for it, where mpv names one
    // The connection it went over, whose end-file event tells why mpv gave
    // it up; none for a song an mpv was started with.
    std::optional<MpvSession> session;
    std::chrono::steady_clock::time_point deadline;
    bool new_player = false;
    bool handed_again = false;
    // Before this the song cannot have played long enough to tell: mpv is
    // not asked, so that the tick that handed it over stays short.
    std::chrono::steady_clock::time_point first_look = std::chrono::steady_clock::now() + kFirstLook;
  };
  struct PendingSpawn {
    pid_t pid;
    std::chrono::steady_clock::time_point deadline;
  };
  enum class Presence {
    kAnswers,  // connected to this user's mpv
    kBusy,     // a player that cannot answer now
    kGone,     // no player: one may be started
    kForeign,  // something else holds the socket's place: never start over it
  };
  struct Contact {
    Presence state;
    std::optional<MpvSession> session;
  };
  struct Playlist {
    std::vector<nlohmann::json> entries;
    long position = -1;  // the entry to score, -1 for none
  };

  Contact contact();
  // contact(), and a bare start asked for earlier happens now if mpv is gone.
  Contact contact_or_start();
  // The replies of one batch; nothing when mpv did not answer them in time,
  // which also holds off further waits for a while.
  std::optional<std::vector<MpvReply>> ask(MpvSession& session, const std::vector<std::vector<std::string>>& commands);
  bool spawn_pending() const;
  // `then`, when given, goes in the same batch, after the questions.
  std::optional<Playlist> ask_playlist(MpvSession& session, const std::vector<std::string>& then = {});
  // A new mpv started with `arguments`, where `found` says none is there.
  HandOver launch(const std::string& player_dir, const Contact& found, const std::vector<std::string>& arguments);
  bool spawn(const std::string& player_dir, const std::vector<std::string>& arguments);
  // Hands the song over on `session`, keeping its end-file events; false
  // when mpv did not answer.
  bool load(MpvSession& session, const std::string& path);
  // Why mpv gave up the song handed over, as it told the connection the
  // song went over; nothing while it has not.
  std::optional<std::string> said();
  Arrival missed(const std::string& why);

  std::string data_folder_;
  std::optional<std::string> socket_path_;
  std::optional<PendingSpawn> pending_;
  std::optional<Handed> handed_;
  // The player folder of a bare start that waits for the next request.
  std::optional<std::string> bare_start_;
  std::chrono::steady_clock::time_point quiet_until_{};
  // The listener on our socket runs as another user.
  bool foreign_listener_ = false;
  // Told to stop, and not seen idle since.
  bool stopping_ = false;
  // The mpv we started has not answered yet: it takes connections a while
  // before it answers them, far longer on a loaded machine.
  bool coming_up_ = false;
};

}  // namespace

std::unique_ptr<MpvLink> make_mpv_link(const AppFolders& folders) { return std::make_unique<MpvIpcLink>(folders); }

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
  auto millis = [](const MpvReply& reply) -> std::optional<std::chrono::milliseconds> {
    if (!reply.ok || !reply.data.is_number() || !(reply.data.get<double>() >= 0)) return std::nullopt;
    return std::chrono::milliseconds(std::llround(reply.data.get<double>() * 1000));
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

}  // namespace jukora
