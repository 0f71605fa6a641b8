// SPDX-License-Identifier: GPL-3.0-or-later
// mpv as the player on Linux and other POSIX systems, built in: Jukora
// starts one mpv of its own in the background (no window, --keep-open, no
// unsafe playlists) and drives it over its JSON IPC socket in the program's
// private socket folder: a song or a playlist replaces mpv's playlist, and
// mpv names the entry it is at. The player folder ("winamp_dir") is the
// folder that holds `mpv`. POSIX only.
#pragma once

#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "player/mpv/mpv_ipc.h"
#include "player/player_link.h"

namespace jukora {

class MpvLink : public PlayerLink {
 public:
  // The socket goes into the program's private socket folder, the playlist
  // file into folders.data.
  explicit MpvLink(const AppFolders& folders);
  ~MpvLink() override;

  Reach reach() override;
  PlayStatus play_status() override;
  // Asks mpv for the entry it is at, in one request.
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
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

  // Where mpv listens; empty when no private folder could be had.
  std::string socket_path();

 private:
  // The entry playing when the player was stopped: mpv forgets its position
  // on stop, the program still wants to score that song.
  struct StoppedEntry {
    long position;
    std::string file;
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
  // `hand_over` goes to a running mpv; a new one gets `arguments` instead.
  HandOver launch(const std::string& player_dir, const std::vector<std::string>& hand_over,
                  const std::vector<std::string>& arguments);
  bool spawn(const std::string& player_dir, const std::vector<std::string>& arguments);

  std::string data_folder_;
  std::optional<std::string> socket_path_;
  std::optional<PendingSpawn> pending_;
  std::optional<StoppedEntry> stopped_;
  // The player folder of a bare start that waits for the next request.
  std::optional<std::string> bare_start_;
  std::chrono::steady_clock::time_point quiet_until_{};
  // The listener on our socket runs as another user.
  bool foreign_listener_ = false;
};

}  // namespace jukora

#endif
