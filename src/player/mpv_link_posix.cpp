#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/files.h"
#include "platform/private_folder.h"
#include "player/detached_spawn.h"
#include "player/mpv_ipc.h"
#include "player/mpv_link.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

constexpr PlayerHandle kMpvRunning = 1;
// mpv listens about 100 ms after it was started; a loaded machine may take
// much longer, and a start that never comes up must not block us for good.
constexpr std::chrono::seconds kSpawnDeadline{3};
constexpr std::chrono::milliseconds kSpawnPoll{10};

bool is_true(const MpvReply& reply) { return reply.ok && reply.data.is_boolean() && reply.data.get<bool>(); }

bool has_flag(const nlohmann::json& entry, const char* flag) {
  auto found = entry.find(flag);
  return found != entry.end() && found->is_boolean() && found->get<bool>();
}

std::string file_of(const nlohmann::json& entry) {
  auto found = entry.find("filename");
  return found != entry.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// mpv's playlist as a list of entries; empty when the reply is not one.
std::vector<nlohmann::json> playlist_entries(const MpvReply& reply) {
  std::vector<nlohmann::json> entries;
  if (!reply.ok || !reply.data.is_array()) return entries;
  for (const auto& entry : reply.data) entries.push_back(entry.is_object() ? entry : nlohmann::json::object());
  return entries;
}

struct PlaylistState {
  std::vector<nlohmann::json> entries;
  long position = -1;  // the entry mpv is at, -1 for none
};

// "current" names the entry mpv is at, also while a new one loads. Just
// after a start or a replacing load mpv is busy but at no entry yet: it is
// about to play the first one, and that is the song to score.
PlaylistState playlist_state(const MpvReply& playlist, const MpvReply& idle) {
  PlaylistState state{playlist_entries(playlist)};
  for (const char* flag : {"current", "playing"})
    for (std::size_t i = 0; i < state.entries.size() && state.position < 0; ++i)
      if (has_flag(state.entries[i], flag)) state.position = static_cast<long>(i);
  if (state.position < 0 && !state.entries.empty() && idle.ok && idle.data.is_boolean() && !idle.data.get<bool>())
    state.position = 0;
  return state;
}

constexpr std::string_view kSocketName = "mpv-socket";

const std::vector<std::string> kAskPlaylist = {"get_property", "playlist"};
const std::vector<std::string> kAskIdle = {"get_property", "idle-active"};

}  // namespace

MpvLink::MpvLink(const AppFolders& folders) : data_folder_(folders.data) {}

MpvLink::~MpvLink() = default;

std::string MpvLink::executable_path(const std::string& winamp_dir) const { return join_path(winamp_dir, "mpv"); }

std::string MpvLink::playlist_path(const std::string&) const { return join_path(data_folder_, "winamp.m3u"); }

PlayerTexts MpvLink::texts() const {
  // The program starts its own mpv, so "run it manually" would not help, and
  // mpv has no version to demand.
  return {
      "mpv",
      "Stop mpv",
      "mpv Folder",
      "Select mpv Folder",
      "mpv not found.  Is the mpv folder in Preferences the one that holds the mpv program?",
      "mpv is not running.  To run mpv, select a playmode or play a song from the list.",
      "",
      "The playlist of mpv was not found in Jukora's data folder.",
      "The folder that holds the mpv program",
      "Browse for the folder that holds mpv",
  };
}

std::string MpvLink::socket_path() {
  if (socket_path_) return *socket_path_;
  // Stable names, so that the program finds the mpv it started in an
  // earlier run.
  std::string folder = private_socket_folder(data_folder_, kSocketName.size());
  if (folder.empty()) return {};
  socket_path_ = join_path(folder, kSocketName);
  return *socket_path_;
}

std::optional<MpvSession> MpvLink::connect() {
  std::string path = socket_path();
  if (path.empty()) return std::nullopt;
  for (;;) {
    if (auto session = MpvSession::connect(path)) {
      pending_.reset();
      return session;
    }
    // An mpv we just started is not listening yet: wait for it rather than
    // take it for absent and start a second one.
    if (!pending_ || Clock::now() >= pending_->deadline || !process_exists(pending_->pid)) {
      pending_.reset();
      return std::nullopt;
    }
    std::this_thread::sleep_for(kSpawnPoll);
  }
}

PlayerHandle MpvLink::find_winamp() { return connect() ? kMpvRunning : kNoPlayer; }

long MpvLink::version(PlayerHandle player) {
  if (player == kNoPlayer) return 0;
  auto session = connect();
  if (!session) return 0;
  return session->ask({"get_property", "mpv-version"}).ok ? kMpvVersionAnswer : 0;
}

long MpvLink::write_playlist(PlayerHandle player) {
  if (player == kNoPlayer) return -1;
  auto session = connect();
  if (!session) return -1;
  auto replies = session->ask_all({kAskPlaylist, kAskIdle});
  session.reset();
  auto [entries, position] = playlist_state(replies[0], replies[1]);

  std::string text;
  for (const auto& entry : entries) {
    text += file_of(entry);
    text += "\r\n";
  }
  if (position < 0 && stopped_ && stopped_->position < static_cast<long>(entries.size()) &&
      file_of(entries[static_cast<std::size_t>(stopped_->position)]) == stopped_->file)
    position = stopped_->position;
  // A line break in a file name splits its entry in the file: from there on
  // the position would name the wrong song, or half a name.
  for (long i = 0; i <= position; ++i)
    if (file_of(entries[static_cast<std::size_t>(i)]).find('\n') != std::string::npos) position = -1;

  std::error_code ignored;
  std::filesystem::create_directories(data_folder_, ignored);
  std::string error;
  // No position without the file: an older one left there would name the
  // wrong song.
  if (!write_file_atomically(playlist_path({}), text, error)) return -1;
  return position;
}

int MpvLink::play_status(PlayerHandle player) {
  if (player == kNoPlayer) return 0;
  auto session = connect();
  if (!session) return 0;
  auto replies =
      session->ask_all({{"get_property", "idle-active"}, {"get_property", "pause"}, {"get_property", "eof-reached"}});
  if (!replies[0].ok || is_true(replies[0])) return 0;
  // --keep-open holds the last song at its end: that is stopped. It pauses
  // there too, unless the user's own mpv settings say keep-open-pause=no.
  if (is_true(replies[2])) return 0;
  return is_true(replies[1]) ? kStatusPaused : kStatusPlaying;
}

void MpvLink::stop(PlayerHandle player) {
  if (player == kNoPlayer) return;
  auto session = connect();
  if (!session) return;
  auto replies = session->ask_all({kAskPlaylist, kAskIdle, {"stop", "keep-playlist"}});
  auto [entries, position] = playlist_state(replies[0], replies[1]);
  if (position >= 0) stopped_ = StoppedEntry{position, file_of(entries[static_cast<std::size_t>(position)])};
}

void MpvLink::start(const std::string& winamp_dir) { launch(winamp_dir, {}, {}); }

HandOver MpvLink::start_with_file(const std::string& winamp_dir, const std::string& song_path) {
  launch(winamp_dir, {"loadfile", song_path, "replace"}, {"--", song_path});
  return HandOver::started();
}

HandOver MpvLink::start_with_playlist(const std::string& winamp_dir) {
  std::string playlist = playlist_path(winamp_dir);
  launch(winamp_dir, {"loadlist", playlist, "replace"}, {"--playlist=" + playlist});
  return HandOver::started();
}

void MpvLink::launch(const std::string& winamp_dir, const std::vector<std::string>& hand_over,
                     const std::vector<std::string>& arguments) {
  stopped_.reset();
  // One player only, as the program expects: a running mpv takes the work.
  if (auto session = connect()) {
    // The end of the last song left mpv paused (--keep-open); a new song
    // plays, as it would in a freshly started player.
    if (!hand_over.empty()) session->ask_all({hand_over, {"set", "pause", "no"}});
    return;
  }
  // The folder is chosen and made afresh for every new mpv: a sweep of old
  // files may have taken it away while we ran, and an mpv told to listen in
  // a missing folder plays on out of reach, so every later start would add
  // another.
  socket_path_.reset();
  std::string socket = socket_path();
  if (socket.empty()) return;
  std::vector<std::string> options = {
      "--input-ipc-server=" + socket,
      "--idle=yes",
      "--force-window=no",
      "--no-terminal",
      // At a song's end mpv stays at that entry, so the song can still be
      // scored.
      "--keep-open=yes",
      "--audio-display=no",
  };
  options.insert(options.end(), arguments.begin(), arguments.end());
  if (auto pid = spawn_detached(executable_path(winamp_dir), options))
    pending_ = PendingSpawn{*pid, Clock::now() + kSpawnDeadline};
}

}  // namespace jukora
