// The player on Linux and other POSIX systems: mpv, driven through its JSON
// IPC socket. The "Winamp directory" is the folder that holds `mpv`.
#pragma once

#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "player/winamp_link.h"

namespace jukora {

class MpvSession;

// What the version request answers whenever mpv answers at all.
inline constexpr long kMpvVersionAnswer = 0x2090;

class MpvLink : public WinampLink {
 public:
  // The socket goes into the program's private socket folder, the playlist
  // file into folders.data.
  explicit MpvLink(const AppFolders& folders);
  ~MpvLink() override;

  PlayerHandle find_winamp() override;
  long version(PlayerHandle player) override;
  long write_playlist(PlayerHandle player) override;
  int play_status(PlayerHandle player) override;
  void stop(PlayerHandle player) override;

  void start(const std::string& winamp_dir) override;
  HandOver start_with_file(const std::string& winamp_dir, const std::string& song_path) override;
  HandOver start_with_playlist(const std::string& winamp_dir) override;

  std::string executable_path(const std::string& winamp_dir) const override;
  std::string playlist_path(const std::string& winamp_dir) const override;
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

  std::optional<MpvSession> connect();
  void launch(const std::string& winamp_dir, const std::vector<std::string>& hand_over,
              const std::vector<std::string>& arguments);

  std::string data_folder_;
  std::optional<std::string> socket_path_;
  std::optional<PendingSpawn> pending_;
  std::optional<StoppedEntry> stopped_;
};

}  // namespace jukora

#endif
