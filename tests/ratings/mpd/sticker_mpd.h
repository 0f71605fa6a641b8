// SPDX-License-Identifier: GPL-3.0-or-later
// A private MPD that keeps stickers (or, asked to, none): its own music
// folder of generated songs, database, sticker file, a null output and a
// local socket. Stickers are set and read with mpc, as a user would.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "ratings/run_command.h"
#include "support/fakes.h"

extern char** environ;

namespace jukora::testing {

class StickerMpd {
 public:
  static constexpr const char* kSongs[] = {"a.wav", "b.wav", "Sub Dir/c \"q\".wav"};

  explicit StickerMpd(bool stickers = true) {
    for (const char* song : kSongs) write_wav(music + "/" + song);
    std::filesystem::create_directories(temp.path() / "playlists");
    std::ofstream config(temp.file("mpd.conf"));
    config << "music_directory \"" << music << "\"\nplaylist_directory \"" << temp.file("playlists") << "\"\ndb_file \""
           << temp.file("db") << "\"\nbind_to_address \"" << socket
           << "\"\nzeroconf_enabled \"no\"\naudio_output {\n  type \"null\"\n  name \"null\"\n}\n";
    if (stickers) config << "sticker_file \"" << temp.file("stickers") << "\"\n";
    config.close();
    const std::string conf = temp.file("mpd.conf"), log = temp.file("mpd.log");
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    const char* arguments[] = {"mpd", "--no-daemon", "--stderr", conf.c_str(), nullptr};
    if (posix_spawnp(&pid, "mpd", &files, nullptr, const_cast<char**>(arguments), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&files);
    // Up once its database holds every song.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (pid > 0 && std::chrono::steady_clock::now() < deadline &&
           mpc("stats").find("Songs:        3\n") == std::string::npos)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ~StickerMpd() {
    if (pid > 0) {
      kill(pid, SIGCONT);
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  StickerMpd(const StickerMpd&) = delete;
  StickerMpd& operator=(const StickerMpd&) = delete;

  std::string mpc(const std::string& arguments) const {
    return output_of("mpc --host=" + shell_quoted(socket) + " " + arguments + " 2>&1");
  }
  std::string sticker(const std::string& song) const {
    std::string out = mpc("sticker " + shell_quoted(song) + " get rating");
    return out.starts_with("rating=") ? out.substr(7, out.find('\n') - 7) : "none";
  }

  TempDir temp;
  std::string music = temp.file("music");
  std::string socket = temp.file("socket");
  pid_t pid = -1;
};

}  // namespace jukora::testing
