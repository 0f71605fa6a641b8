// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/files.h"
#include "platform/settings_keys.h"
#include "player/mpd/mpd_link.h"
#include "player/mpd/mpd_modes.h"
#include "player/mpd/mpd_paths.h"
#include "player/mpd/mpd_queue_filler.h"
#include "player/mpd/mpd_requests.h"
#include "player/mpd/request_budget.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// The requests of one event of the user-interface thread end within this
// time in all; requests this far apart belong to different events.
constexpr std::chrono::milliseconds kRequestTime{180};
constexpr std::chrono::milliseconds kEventPause{50};
// An export hands over this many songs itself; a worker adds the rest.
constexpr std::size_t kFirstSongs = 20;
// How often a request that waits for MPD's database update looks again.
constexpr std::chrono::milliseconds kUpdatePoll{5};
// A song handed over has this long to begin playing.
constexpr std::chrono::seconds kPlayDeadline{10};

constexpr const char* kCannotReach =
    "MPD cannot be reached.  Jukora does not start MPD: start it, or check the MPD settings in Preferences.";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Whether MPD's "elapsed" ("0.524") tells of any time played.
bool has_played(const std::string& elapsed) { return elapsed.find_first_of("123456789") != std::string::npos; }

// What a refused hand-over tells the user, naming the cause.
std::string refusal_of(const MpdAnswer& answer, const std::string& song, const MpdTarget& target) {
  if (answer.code == kMpdNoSuchSong && target.in_music_folder)
    return quoted(song) + " is not in MPD's database, not even after MPD was asked to update " + quoted(target.uri) +
           ".  Check that the music folder in Preferences is the one MPD uses, and that MPD can read the file.";
  if (answer.code == kMpdNoSuchSong)
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

class MpdLink : public PlayerLink {
 public:
  MpdLink(const SettingsStore& settings, const AppFolders& folders)
      : data_folder_(folders.data), requests_(settings), modes_(requests_) {}

  Reach reach() override;
  PlayStatus play_status() override;
  // One "status": its state, "elapsed" and "duration".
  PlayPosition play_position() override;
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  // The song plays once MPD is at it and not stopped; MPD's error for it
  // makes it missed.
  Arrival arrival() override;
  HandOver play_playlist(const std::string& player_dir) override;
  std::string playlist_path(const std::string&) const override { return join_path(data_folder_, "mpd-export.m3u"); }
  void stop() override;
  // Jukora never starts MPD: a daemon that is not there is told by
  // missing_program.
  void start(const std::string&) override {}

  std::string missing_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;
  void cycle_ended() override;

 private:
  HandOver hand_over(const std::string& song, Clock::time_point deadline);
  HandOver hand_over_list(const std::vector<std::string>& songs, Clock::time_point deadline);
  // Busy, or refused with the reason MPD is gone.
  HandOver not_handed_over(Reached reach) const {
    return reach == Reached::kGone ? HandOver::refused(requests_.gone_why()) : HandOver::busy();
  }
  // Asks MPD to read `uri` into its database and waits for that while the
  // request has time; false when the update is still running.
  bool update_database(const std::string& uri, Clock::time_point deadline);

  const std::string data_folder_;
  // Mutable so that the const requests may still open a connection.
  mutable MpdRequests requests_;
  mutable RequestBudget budget_{kRequestTime, kEventPause};
  MpdModes modes_;
  // A song MPD was asked to look for in its folder, still being updated.
  std::string updating_uri_;
  // The song last handed over and its id in MPD's queue, until it is seen
  // playing or given up.
  struct Handed {
    std::string path, id;
    Clock::time_point deadline;
  };
  std::optional<Handed> handed_;
  MpdQueueFiller filler_;
};

bool MpdLink::update_database(const std::string& uri, Clock::time_point deadline) {
  MpdAnswer answer;
  if (updating_uri_ != uri) {
    if (requests_.ask({{"update", uri}}, answer, deadline) != Reached::kReady || !answer.ok()) return true;
    updating_uri_ = uri;
  }
  for (;;) {
    if (requests_.ask({{"status"}}, answer, deadline) != Reached::kReady) return false;
    if (answer.value(0, "updating_db").empty()) break;
    if (Clock::now() + kUpdatePoll >= deadline) return false;
    std::this_thread::sleep_for(kUpdatePoll);
  }
  updating_uri_.clear();
  return true;
}

HandOver MpdLink::hand_over(const std::string& song, Clock::time_point deadline) {
  filler_.stop();
  handed_.reset();
  if (Reached reach = requests_.open(deadline); reach != Reached::kReady) return not_handed_over(reach);
  const MpdTarget target = mpd_target(song, requests_.music_folder(), requests_.address().is_socket());
  if (target.uri.empty()) return HandOver::refused(target.refusal);

  // Added in front first, so that a song MPD refuses leaves its queue as it was.
  const std::vector<MpdCommand> add = {{"addid", target.uri, "0"}, {"status"}};
  MpdAnswer answer;
  if (updating_uri_ != target.uri) {
    if (Reached reach = requests_.ask(add, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
    if (answer.ok()) updating_uri_.clear();
  }
  if (updating_uri_ == target.uri || (answer.code == kMpdNoSuchSong && target.in_music_folder)) {
    // A song added to the folder since MPD's last update.
    if (!update_database(target.uri, deadline)) return HandOver::busy();
    if (Reached reach = requests_.ask(add, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  }
  if (!answer.ok()) return HandOver::refused(refusal_of(answer, song, target));

  std::vector<MpdCommand> replace;
  const std::string id = answer.value(0, "Id");
  const std::string length = answer.value(1, "playlistlength");
  if (!length.empty() && length != "1") replace.push_back({"delete", "1:" + length});
  // An error MPD still holds from an earlier song is not this one's.
  replace.push_back({"clearerror"});
  replace.push_back({"play", "0"});
  if (Reached reach = requests_.ask(replace, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
  if (!answer.ok()) return HandOver::refused(refusal_of(answer, song, target));
  handed_ = Handed{song, id, Clock::now() + kPlayDeadline};
  return HandOver::started();
}

HandOver MpdLink::hand_over_list(const std::vector<std::string>& songs, Clock::time_point deadline) {
  filler_.stop();
  handed_.reset();
  if (Reached reach = requests_.open(deadline); reach != Reached::kReady) return not_handed_over(reach);
  std::vector<std::string> uris;
  std::vector<std::string> left_out;
  const std::string folder = requests_.music_folder();
  for (const std::string& song : songs) {
    MpdTarget target = mpd_target(song, folder, requests_.address().is_socket());
    if (target.uri.empty())
      left_out.push_back(target.refusal);
    else
      uris.push_back(std::move(target.uri));
  }

  if (uris.empty()) return HandOver::refused(left_out.empty() ? "The playlist holds no songs." : left_out.front());

  MpdAnswer answer;
  if (Reached reach = requests_.ask({{"status"}}, answer, deadline); reach != Reached::kReady)
    return not_handed_over(reach);
  modes_.hold_for_export(answer, deadline);

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
    if (Reached reach = requests_.ask(list, answer, deadline); reach != Reached::kReady) return not_handed_over(reach);
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
  if (Reached reach = requests_.ask({{"play", "0"}}, answer, deadline); reach != Reached::kReady)
    return not_handed_over(reach);
  filler_.fill(requests_.address(),
               std::vector<std::string>(uris.begin() + static_cast<std::ptrdiff_t>(next), uris.end()));
  HandOver result = HandOver::started();
  // Played all the same; the play modes may tell the user what is missing.
  if (!left_out.empty())
    result.reason =
        std::to_string(left_out.size()) + " songs of the playlist were left out. The first: " + left_out.front();
  return result;
}

CurrentSong MpdLink::current_song(const std::string&) {
  const RequestBudget::Request request(budget_);
  const auto deadline = request.deadline();
  MpdAnswer answer;
  switch (requests_.ask({{"currentsong"}, {"status"}}, answer, deadline)) {
    case Reached::kReady:
      break;
    case Reached::kBusy:
      return CurrentSong::busy();
    case Reached::kGone:
      return CurrentSong::not_running(requests_.gone_why(), true);
  }
  // Stopped, MPD still names the song it would start at, which is not
  // playing: only a song it plays or holds paused is its song.
  if (!answer.ok() || answer.value(1, "state") == "stop") return CurrentSong::no_song();
  const std::string file = answer.value(0, "file");
  MpdSongPath song = local_song_path(file, requests_.music_folder(), requests_.address().is_socket());
  if (song.path.empty())
    return song.named_badly ? CurrentSong::unnamed(song.message) : CurrentSong::no_song(song.message);
  return CurrentSong::song(std::move(song.path));
}

Reach MpdLink::reach() {
  const RequestBudget::Request request(budget_);
  switch (requests_.open(request.deadline())) {
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
  const RequestBudget::Request request(budget_);
  const auto deadline = request.deadline();
  MpdAnswer answer;
  // Gone here too is only a tick's trouble: the cycle's next check of the
  // player ends it.
  if (requests_.ask({{"status"}}, answer, deadline) != Reached::kReady || !answer.ok()) return PlayStatus::kBusy;
  modes_.note_cycle_status(answer, deadline);
  const std::string state = answer.value(0, "state");
  if (state == "play") return PlayStatus::kPlaying;
  if (state == "pause") return PlayStatus::kPaused;
  return PlayStatus::kStopped;
}

Arrival MpdLink::arrival() {
  if (!handed_) return {};
  const RequestBudget::Request request(budget_);
  MpdAnswer answer;
  switch (requests_.ask({{"status"}}, answer, request.deadline())) {
    case Reached::kReady:
      break;
    case Reached::kBusy:
      return {Arrival::State::kAwaited, {}};
    case Reached::kGone:
      handed_.reset();
      return {Arrival::State::kLost, {}};
  }
  if (!answer.ok()) return {Arrival::State::kAwaited, {}};
  const Handed handed = *std::exchange(handed_, std::nullopt);
  const std::string file = quoted(handed.path.substr(handed.path.rfind('/') + 1));
  // The hand-over cleared MPD's error: one now is this song's.
  if (const std::string error = answer.value(0, "error"); !error.empty())
    return {Arrival::State::kMissed, "MPD did not play " + file + ": " + error.substr(0, 200) + "."};
  // Over already, stopped by someone, or another client changed the queue:
  // nothing to wait for.
  if (answer.value(0, "songid") != handed.id || answer.value(0, "state") == "stop" ||
      has_played(answer.value(0, "elapsed")))
    return {};
  if (Clock::now() >= handed.deadline) return {Arrival::State::kMissed, "MPD did not play " + file + " within 10 s."};
  handed_ = handed;
  return {Arrival::State::kAwaited, {}};
}

PlayPosition MpdLink::play_position() {
  const RequestBudget::Request request(budget_);
  MpdAnswer answer;
  if (requests_.ask({{"status"}}, answer, request.deadline()) != Reached::kReady || !answer.ok()) return {};
  // Seconds with a fraction; absent while stopped, and "duration" for a
  // stream that has none.
  auto millis = [&](std::string_view key) { return player_seconds(to_number(answer.value(0, key))); };
  const std::string state = answer.value(0, "state");
  const PlayStatus status = state == "play"    ? PlayStatus::kPlaying
                            : state == "pause" ? PlayStatus::kPaused
                                               : PlayStatus::kStopped;
  return {status, millis("elapsed"), millis("duration")};
}

void MpdLink::stop() {
  handed_.reset();
  const RequestBudget::Request request(budget_);
  MpdAnswer answer;
  requests_.ask({{"stop"}}, answer, request.deadline());
}

HandOver MpdLink::play_file(const std::string&, const std::string& song_path) {
  const RequestBudget::Request request(budget_);
  return hand_over(song_path, request.deadline());
}

HandOver MpdLink::play_playlist(const std::string&) {
  std::string bytes;
  if (read_whole_file(playlist_path({}), bytes) != ReadResult::kOk)
    return HandOver::refused("The playlist " + quoted(playlist_path({})) + " could not be read.");
  const RequestBudget::Request request(budget_);
  return hand_over_list(playlist_lines(bytes), request.deadline());
}

std::string MpdLink::missing_program(const std::string&) const {
  // In the middle of a cycle MPD is never gone, only away: the requests of
  // the tick say busy themselves.
  if (requests_.in_cycle()) return {};
  const RequestBudget::Request request(budget_);
  MpdAnswer answer;
  return requests_.ask({{"ping"}}, answer, request.deadline()) == Reached::kGone ? requests_.gone_why() : std::string();
}

PlayerTexts MpdLink::texts() const {
  return {"MPD", "Stop MPD", "MPD Music Folder", "Select MPD Music Folder", kCannotReach, kCannotReach, "", ""};
}

void MpdLink::cycle_ended() {
  const RequestBudget::Request request(budget_);
  modes_.end_cycle(request.deadline());
}

}  // namespace

std::unique_ptr<PlayerLink> make_mpd_link(const SettingsStore& settings, const AppFolders& folders) {
  return std::make_unique<MpdLink>(settings, folders);
}

}  // namespace jukora
