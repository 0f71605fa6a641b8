// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/files.h"
#include "player/mpd/mpd_address.h"
#include "player/mpd/mpd_dial.h"
#include "player/mpd/mpd_link.h"
#include "player/mpd/mpd_paths.h"
#include "player/mpd/mpd_queue_filler.h"
#include "player/mpd/mpd_session.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// Every request of the user-interface thread ends within this time.
constexpr std::chrono::milliseconds kRequestTime{180};
// Once a request has run out of time, the requests that follow it (the rest
// of the same tick or click) give up at once instead of waiting again.
constexpr std::chrono::milliseconds kQuietAfterWait{400};
// An export hands over this many songs itself; a worker adds the rest.
constexpr std::size_t kFirstSongs = 20;
// How often a request that waits for MPD's database update looks again.
constexpr std::chrono::milliseconds kUpdatePoll{5};

// MPD's error numbers.
constexpr int kWrongPassword = 3;
constexpr int kNoPermission = 4;
constexpr int kNoSuchSong = 50;

// The server-wide modes that would keep a one-song queue from ending
// (repeat), reorder an export (random), stop it after a song (single) or
// eat it (consume).
constexpr std::array<const char*, 4> kModes = {"repeat", "random", "single", "consume"};
using Modes = std::array<std::string, kModes.size()>;

constexpr const char* kCannotReach =
    "MPD cannot be reached.  Jukora does not start MPD: start it, or check the MPD settings in Preferences.";

enum class Reached { kReady, kBusy, kGone };

Clock::time_point request_deadline() { return Clock::now() + kRequestTime; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// What a refused hand-over tells the user, naming the cause.
std::string refusal_of(const MpdAnswer& answer, const std::string& song, const MpdTarget& target) {
  if (answer.code == kNoSuchSong && target.in_music_folder)
    return quoted(song) + " is not in MPD's database, not even after MPD was asked to update " + quoted(target.uri) +
           ".  Check that the music folder in Preferences is the one MPD uses, and that MPD can read the file.";
  if (answer.code == kNoSuchSong)
    return "MPD cannot read " + quoted(song) +
           " (\"No such song\").  MPD runs as its own user, which must be able to open the file and its folders.";
  if (answer.text.find("Access denied") != std::string::npos)
    return "MPD may not play " + quoted(song) +
           ": Access denied.  Outside its music folder MPD plays a file only for a client that runs as MPD's own "
           "user, or when everyone may read the file.";
  return "MPD did not take " + quoted(song) + ": " + answer.text + ".";
}

std::vector<std::string> playlist_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < bytes.size()) {
    std::size_t end = bytes.find('\n', from);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    from = end + 1;
  }
  return lines;
}

}  // namespace

class MpdLink::Impl {
 public:
  Impl(const SettingsStore& settings, const AppFolders& folders) : settings_(settings), data_folder_(folders.data) {}

  // An open connection by `deadline`. kGone only for a refused connection,
  // an unknown name or a refused password while no cycle runs: in the
  // middle of a cycle MPD is only away for a while.
  Reached open(Clock::time_point deadline);
  // Opens, then runs the commands. An answer that refuses a command is
  // ready: the caller reads why.
  Reached ask(const std::vector<MpdCommand>& commands, MpdAnswer& answer, Clock::time_point deadline);

  // The first status of a cycle starts it; modes are switched off then and
  // on every new connection during it.
  void note_cycle_status(const MpdAnswer& status, Clock::time_point deadline);
  void hold_modes(const MpdAnswer& status, Clock::time_point deadline);
  void end_cycle();

  HandOver hand_over(const std::string& song, Clock::time_point deadline);
  HandOver hand_over_list(const std::vector<std::string>& songs, Clock::time_point deadline);
  CurrentSong current_song();
  std::string gone_or_nothing();

  std::string playlist_path() const { return join_path(data_folder_, "mpd-export.m3u"); }

 private:
  Reached gone(const MpdAddress& address, const std::string& why);
  // Busy, or refused with the reason MPD is gone.
  HandOver not_handed_over(Reached reach) const;
  // What MPD's database song names are relative to: the user's setting, or
  // what MPD itself said over a local socket.
  std::string music_folder() const;
  bool put_modes_back(Clock::time_point deadline);
  // Asks MPD to read `uri` into its database and waits for that while the
  // request has time; false when the update is still running.
  bool update_database(const std::string& uri, Clock::time_point deadline);

  const SettingsStore& settings_;
  const std::string data_folder_;
  MpdDialer dialer_;
  std::unique_ptr<MpdSession> session_;
  MpdAddress address_;
  std::string mpd_music_folder_;
  // Counts connections, so that a cycle checks the modes once on each.
  unsigned connection_number_ = 0;
  unsigned modes_checked_on_ = 0;
  bool cycle_running_ = false;
  Clock::time_point quiet_until_{};
  std::string gone_why_;
  // The user's modes while Jukora keeps them off, and whether they are due
  // to be put back (a cycle ended while MPD was away).
  std::optional<Modes> held_modes_;
  bool modes_due_ = false;
  // A song MPD was asked to look for in its folder, still being updated.
  std::string updating_uri_;
  MpdQueueFiller filler_;
};

Reached MpdLink::Impl::gone(const MpdAddress& address, const std::string& why) {
  gone_why_ = "MPD at " + address.describe() + " cannot be reached: " + why +
              ".  Jukora does not start MPD: start it, or check the MPD settings in Preferences.";
  return cycle_running_ ? Reached::kBusy : Reached::kGone;
}

std::string MpdLink::Impl::music_folder() const {
  std::string folder = read_mpd_music_folder(settings_);
  return folder.empty() ? mpd_music_folder_ : folder;
}

Reached MpdLink::Impl::open(Clock::time_point deadline) {
  MpdAddress address = read_mpd_address(settings_);
  if (session_ && (address != address_ || !session_->usable())) session_.reset();
  if (session_) return Reached::kReady;
  if (Clock::now() < quiet_until_) return Reached::kBusy;

  dialer_.dial(address);
  std::optional<Dialled> dialled = dialer_.wait(deadline);
  if (!dialled) {
    quiet_until_ = Clock::now() + kQuietAfterWait;
    return Reached::kBusy;
  }
  switch (dialled->result) {
    case Dialled::Result::kConnected:
      break;
    case Dialled::Result::kTimedOut:
      return Reached::kBusy;
    case Dialled::Result::kRefused:
      return gone(address, "nothing answers there (" + dialled->detail + ")");
    case Dialled::Result::kUnknownHost:
      return gone(address, "the name " + quoted(address.host) + " is not known (" + dialled->detail + ")");
    case Dialled::Result::kNotSocket:
      return gone(address, "that is not a socket");
    case Dialled::Result::kNotMpd:
      return gone(address, "what answers there is not MPD");
  }
  auto fresh = MpdSession::adopt(dialled->fd);
  if (!fresh) return Reached::kBusy;

  std::vector<MpdCommand> hello;
  if (!address.password.empty()) hello.push_back({"password", address.password});
  // MPD tells a local client where its music lives.
  const std::size_t config = hello.size();
  if (address.is_socket()) hello.push_back({"config"});
  std::string mpd_folder;
  if (!hello.empty()) {
    MpdAnswer answer = fresh->run(hello, deadline);
    if (answer.status == MpdAnswer::Status::kError && answer.code == kWrongPassword)
      return gone(address, "it refused the password");
    if (answer.status == MpdAnswer::Status::kTimedOut) quiet_until_ = Clock::now() + kQuietAfterWait;
    if (answer.status == MpdAnswer::Status::kTimedOut || answer.status == MpdAnswer::Status::kLost)
      return Reached::kBusy;
    mpd_folder = answer.value(config, "music_directory");
    while (mpd_folder.size() > 1 && mpd_folder.back() == '/') mpd_folder.pop_back();
    if (!mpd_folder.starts_with('/')) mpd_folder.clear();
  }
  session_ = std::move(fresh);
  address_ = address;
  mpd_music_folder_ = mpd_folder;
  ++connection_number_;
  if (modes_due_ && !cycle_running_) put_modes_back(deadline);
  return Reached::kReady;
}

Reached MpdLink::Impl::ask(const std::vector<MpdCommand>& commands, MpdAnswer& answer, Clock::time_point deadline) {
  // A connection that broke since its last use is opened again once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    Reached reach = open(deadline);
    if (reach != Reached::kReady) return reach;
    answer = session_->run(commands, deadline);
    switch (answer.status) {
      case MpdAnswer::Status::kOk:
        return Reached::kReady;
      case MpdAnswer::Status::kError:
        if (answer.code == kNoPermission && answer.text.starts_with("you don't have permission"))
          return gone(address_, "it wants a password (or one with more rights) for " +
                                    quoted(commands[answer.replies.size()][0]));
        return Reached::kReady;
      case MpdAnswer::Status::kTimedOut:
        session_.reset();
        quiet_until_ = Clock::now() + kQuietAfterWait;
        return Reached::kBusy;
      case MpdAnswer::Status::kLost:
        session_.reset();
        break;
    }
  }
  return Reached::kBusy;
}

std::string MpdLink::Impl::gone_or_nothing() {
  // In the middle of a cycle MPD is never gone, only away: the requests of
  // the tick say busy themselves.
  if (cycle_running_) return {};
  MpdAnswer answer;
  return ask({{"ping"}}, answer, request_deadline()) == Reached::kGone ? gone_why_ : std::string();
}

void MpdLink::Impl::note_cycle_status(const MpdAnswer& status, Clock::time_point deadline) {
  if (!cycle_running_) {
    cycle_running_ = true;
    modes_due_ = false;
    modes_checked_on_ = 0;
  }
  // A restarted MPD may have brought back modes from its state file.
  if (modes_checked_on_ == connection_number_) return;
  modes_checked_on_ = connection_number_;
  hold_modes(status, deadline);
}

void MpdLink::Impl::hold_modes(const MpdAnswer& status, Clock::time_point deadline) {
  Modes values;
  bool any_on = false;
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    values[i] = status.value(0, kModes[i]);
    any_on = any_on || (!values[i].empty() && values[i] != "0");
  }
  if (!any_on) return;
  // Modes held already are the user's; what is on now was set meanwhile.
  if (!held_modes_) held_modes_ = values;
  std::vector<MpdCommand> off;
  for (const char* mode : kModes) off.push_back({mode, "0"});
  MpdAnswer answer;
  ask(off, answer, deadline);
}

bool MpdLink::Impl::put_modes_back(Clock::time_point deadline) {
  std::vector<MpdCommand> back;
  for (std::size_t i = 0; i < kModes.size(); ++i)
    if (!(*held_modes_)[i].empty()) back.push_back({kModes[i], (*held_modes_)[i]});
  MpdAnswer answer = session_->run(back, deadline);
  if (answer.status == MpdAnswer::Status::kTimedOut || answer.status == MpdAnswer::Status::kLost) return false;
  held_modes_.reset();
  modes_due_ = false;
  return true;
}

void MpdLink::Impl::end_cycle() {
  cycle_running_ = false;
  if (!held_modes_) return;
  // When MPD is away now, they go back as soon as it answers again.
  modes_due_ = true;
  const auto deadline = request_deadline();
  if (open(deadline) == Reached::kReady && modes_due_) put_modes_back(deadline);
}

bool MpdLink::Impl::update_database(const std::string& uri, Clock::time_point deadline) {
  MpdAnswer answer;
  if (updating_uri_ != uri) {
    if (ask({{"update", uri}}, answer, deadline) != Reached::kReady || !answer.ok()) return true;
    updating_uri_ = uri;
  }
  for (;;) {
    if (ask({{"status"}}, answer, deadline) != Reached::kReady) return false;
    if (answer.value(0, "updating_db").empty()) break;
    if (Clock::now() + kUpdatePoll >= deadline) return false;
    std::this_thread::sleep_for(kUpdatePoll);
  }
  updating_uri_.clear();
  return true;
}

HandOver MpdLink::Impl::not_handed_over(Reached reach) const {
  return reach == Reached::kGone ? HandOver::refused(gone_why_) : HandOver::busy();
}

HandOver MpdLink::Impl::hand_over(const std::string& song, Clock::time_point deadline) {
  filler_.stop();
  if (Reached reach = open(deadline); reach != Reached::kReady) return not_handed_over(reach);
  const MpdTarget target = mpd_target(song, music_folder(), address_.is_socket());
  if (target.uri.empty()) return HandOver::refused(target.refusal);

  // Added in front first, so that a song MPD refuses leaves its queue as it was.
  const std::vector<MpdCommand> add = {{"addid", target.uri, "0"}, {"status"}};
  MpdAnswer answer;
  if (updating_uri_ != target.uri) {
    if (Reached reach = ask(add, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
    if (answer.ok()) updating_uri_.clear();
  }
  if (updating_uri_ == target.uri || (answer.code == kNoSuchSong && target.in_music_folder)) {
    // A song added to the folder since MPD's last update.
    if (!update_database(target.uri, deadline)) return HandOver::busy();
    if (Reached reach = ask(add, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  }
  if (!answer.ok()) return HandOver::refused(refusal_of(answer, song, target));

  std::vector<MpdCommand> replace;
  const std::string length = answer.value(1, "playlistlength");
  if (!length.empty() && length != "1") replace.push_back({"delete", "1:" + length});
  replace.push_back({"play", "0"});
  if (Reached reach = ask(replace, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  return answer.ok() ? HandOver::started() : HandOver::refused(refusal_of(answer, song, target));
}

HandOver MpdLink::Impl::hand_over_list(const std::vector<std::string>& songs, Clock::time_point deadline) {
  filler_.stop();
  if (Reached reach = open(deadline); reach != Reached::kReady) return not_handed_over(reach);
  std::vector<std::string> uris;
  std::vector<std::string> left_out;
  const std::string folder = music_folder();
  for (const std::string& song : songs) {
    MpdTarget target = mpd_target(song, folder, address_.is_socket());
    if (target.uri.empty())
      left_out.push_back(target.refusal);
    else
      uris.push_back(std::move(target.uri));
  }

  if (uris.empty()) return HandOver::refused(left_out.empty() ? "The playlist holds no songs." : left_out.front());

  MpdAnswer answer;
  if (Reached reach = ask({{"status"}}, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  // An export is no cycle: the timer is off while it plays, and the modes
  // stay off until the Stop item.
  cycle_running_ = false;
  modes_due_ = false;
  hold_modes(answer, deadline);

  // The first songs now, so that the export plays at once; the rest follow
  // on a worker thread. MPD ends a command list at the first song it
  // refuses: the songs after it go in another list.
  bool cleared = false;
  std::size_t next = 0;
  std::size_t added = 0;
  while (next < uris.size() && (next < kFirstSongs || added == 0)) {
    std::vector<MpdCommand> list;
    if (!cleared) list.push_back({"clear"});
    for (std::size_t i = next; i < uris.size() && i < std::max(next + 1, kFirstSongs); ++i)
      list.push_back({"add", uris[i]});
    if (Reached reach = ask(list, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
    std::size_t done = answer.replies.size();
    if (!cleared) {
      if (done == 0) return HandOver::refused("MPD did not take the playlist: " + answer.text + ".");
      cleared = true;
      --done;
    }
    added += done;
    next += done;
    if (!answer.ok()) {
      left_out.push_back(quoted(uris[next]) + ": " + answer.text);
      ++next;
    }
  }
  if (added == 0) return HandOver::refused("MPD took none of the playlist's songs. " + left_out.front());
  if (Reached reach = ask({{"play", "0"}}, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  filler_.fill(address_, std::vector<std::string>(uris.begin() + static_cast<std::ptrdiff_t>(next), uris.end()));
  HandOver result = HandOver::started();
  // Played all the same; the play modes may tell the user what is missing.
  if (!left_out.empty())
    result.reason =
        std::to_string(left_out.size()) + " songs of the playlist were left out. The first: " + left_out.front();
  return result;
}

CurrentSong MpdLink::Impl::current_song() {
  const auto deadline = request_deadline();
  MpdAnswer answer;
  switch (ask({{"currentsong"}, {"status"}}, answer, deadline)) {
    case Reached::kReady:
      break;
    case Reached::kBusy:
      return CurrentSong::busy();
    case Reached::kGone:
      return CurrentSong::not_running(gone_why_, true);
  }
  if (!answer.ok()) return CurrentSong::no_song();
  std::string file = answer.value(0, "file");
  // At the end of its queue MPD is at no song any more. The one song that
  // Jukora handed over is still the song the user just heard, as it still
  // is the original player's playlist position.
  if (file.empty() && answer.value(1, "playlistlength") == "1") {
    if (ask({{"playlistinfo", "0"}}, answer, deadline) != Reached::kReady) return CurrentSong::busy();
    file = answer.value(0, "file");
  }
  MpdSongPath song = local_song_path(file, music_folder(), address_.is_this_computer());
  if (song.path.empty()) return CurrentSong::no_song(song.message);
  return CurrentSong::song(std::move(song.path));
}

MpdLink::MpdLink(const SettingsStore& settings, const AppFolders& folders)
    : impl_(std::make_unique<Impl>(settings, folders)) {}

MpdLink::~MpdLink() = default;

Reach MpdLink::reach() {
  switch (impl_->open(request_deadline())) {
    case Reached::kReady:
      return Reach::kRunning;
    case Reached::kBusy:
      return Reach::kBusy;
    case Reached::kGone:
      break;
  }
  return Reach::kNotRunning;
}

PlayStatus MpdLink::play_status() {
  const auto deadline = request_deadline();
  MpdAnswer answer;
  // Gone here too is only a tick's trouble: the cycle's next check of the
  // player ends it.
  if (impl_->ask({{"status"}}, answer, deadline) != Reached::kReady || !answer.ok()) return PlayStatus::kBusy;
  impl_->note_cycle_status(answer, deadline);
  const std::string state = answer.value(0, "state");
  if (state == "play") return PlayStatus::kPlaying;
  if (state == "pause") return PlayStatus::kPaused;
  return PlayStatus::kStopped;
}

void MpdLink::stop() {
  MpdAnswer answer;
  impl_->ask({{"stop"}}, answer, request_deadline());
}

void MpdLink::start(const std::string&) {}

HandOver MpdLink::play_file(const std::string&, const std::string& song_path) {
  return impl_->hand_over(song_path, request_deadline());
}

HandOver MpdLink::play_playlist(const std::string&) {
  std::string bytes;
  if (read_whole_file(impl_->playlist_path(), bytes) != ReadResult::kOk)
    return HandOver::refused("The playlist " + quoted(impl_->playlist_path()) + " could not be read.");
  return impl_->hand_over_list(playlist_lines(bytes), request_deadline());
}

std::string MpdLink::playlist_path(const std::string&) const { return impl_->playlist_path(); }

CurrentSong MpdLink::current_song(const std::string&) { return impl_->current_song(); }

std::string MpdLink::missing_program(const std::string&) const { return impl_->gone_or_nothing(); }

PlayerTexts MpdLink::texts() const {
  return {"MPD", "Stop MPD", "MPD Music Folder", "Select MPD Music Folder", kCannotReach, kCannotReach, "", ""};
}

void MpdLink::cycle_ended() { impl_->end_cycle(); }

}  // namespace jukora
