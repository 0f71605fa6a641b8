// SPDX-License-Identifier: GPL-3.0-or-later
// The mpv link's own class, shared by its two sources: mpv_link_posix.cpp
// (reaching mpv and asking it) and mpv_hand_over_posix.cpp (handing songs
// over and seeing them arrive). Nothing else includes it: the rest of the
// program knows mpv by make_mpv_link().
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"

namespace jukora::mpv_ipc {

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
    std::optional<std::int64_t> entry = {};  // mpv's playlist entry for it, where mpv names one
    // The connection it went over, whose end-file event tells why mpv gave
    // it up; none for a song an mpv was started with.
    std::optional<MpvSession> session = {};
    std::chrono::steady_clock::time_point deadline = {};
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

}  // namespace jukora::mpv_ipc
