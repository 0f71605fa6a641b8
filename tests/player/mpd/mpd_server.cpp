// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpd/mpd_server.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/players_posix.h"

extern char** environ;

namespace jukora::testing {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSongs[] = {"a.wav", "b.wav", "c.wav", "Sub Dir/Ünïcødé song.wav", "Sub Dir/c \"q\".wav"};

}  // namespace

MpdServer::MpdServer(const std::string& folder, Options options)
    : folder_(folder), music_(folder + "/music"), socket_(folder + "/socket"), config_(folder + "/mpd.conf") {
  namespace fs = std::filesystem;
  for (const char* song : kSongs) write_wav(music_ + "/" + song);
  fs::create_directories(folder_ + "/playlists");
  // A free port: one the system hands out for a moment.
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port_ = ntohs(address.sin_port);
  close(probe);
  std::ofstream config(config_);
  config << "music_directory \"" << music_ << "\"\n"
         << "playlist_directory \"" << folder_ << "/playlists\"\n"
         << "db_file \"" << folder_ << "/db\"\n"
         << "state_file \"" << folder_ << "/state\"\n"
         << "bind_to_address \"" << socket_ << "\"\n"
         << "bind_to_address \"127.0.0.1\"\n"
         << "port \"" << port_ << "\"\n"
         << "zeroconf_enabled \"no\"\n"
         << "default_permissions \"read,add,control,admin\"\n"
         << "audio_output {\n  type \"null\"\n  name \"null\"\n}\n";
  if (options.stickers) config << "sticker_file \"" << folder_ << "/stickers\"\n";
  if (!options.password.empty()) config << "password \"" << options.password << "@read,add,control,admin\"\n";
  if (!options.user.empty() && geteuid() == 0) {
    config << "user \"" << options.user << "\"\n";
    // MPD writes its database, state and socket as that user.
    if (passwd* entry = getpwnam(options.user.c_str())) {
      for (const auto& item : fs::recursive_directory_iterator(folder_))
        if (chown(item.path().c_str(), entry->pw_uid, entry->pw_gid) != 0) break;
      if (chown(folder_.c_str(), entry->pw_uid, entry->pw_gid) != 0) return;
    }
  }
  config.close();
  start();
}

MpdServer::~MpdServer() { kill(SIGKILL); }

bool MpdServer::start() {
  const std::string log = folder_ + "/mpd.log";
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  const char* arguments[] = {"mpd", "--no-daemon", "--stderr", config_.c_str(), nullptr};
  int failed = posix_spawnp(&pid_, "mpd", &files, nullptr, const_cast<char**>(arguments), environ);
  posix_spawn_file_actions_destroy(&files);
  if (failed != 0) {
    pid_ = -1;
    return false;
  }
  // Up once it answers and its database holds every song (tests may add more).
  const auto deadline = Clock::now() + std::chrono::seconds(15);
  while (Clock::now() < deadline) {
    const std::string songs = value("stats", "songs");
    if (!songs.empty() && std::stoul(songs) >= std::size(kSongs) && value("status", "updating_db").empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void MpdServer::kill(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  if (signal == SIGKILL || signal == SIGTERM) {
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

void MpdServer::reset() {
  command("command_list_begin\nstop\nclear\nrepeat 0\nrandom 0\nsingle 0\nconsume 0\ncommand_list_end");
}

std::string MpdServer::command(const std::string& line) const {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  timeval patience{2, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  std::string received;
  if (connect_unix(fd, socket_)) {
    const std::string request = line + "\n";
    bool sent = send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    // The welcome line first, then the answer up to its last line.
    auto complete = [&] {
      if (received.empty() || received.back() != '\n') return false;
      auto welcome = received.find('\n');
      if (welcome == std::string::npos) return false;
      std::string_view answer = std::string_view(received).substr(welcome + 1);
      return answer == "OK\n" || answer.ends_with("\nOK\n") || answer.starts_with("ACK") ||
             answer.find("\nACK") != std::string_view::npos;
    };
    char buffer[4096];
    while (sent && !complete()) {
      ssize_t got = recv(fd, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      received.append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(fd);
  auto welcome = received.find('\n');
  return welcome == std::string::npos ? std::string() : received.substr(welcome + 1);
}

std::string MpdServer::value(const std::string& line, const std::string& key) const {
  const std::string answer = "\n" + command(line);
  const std::string wanted = "\n" + key + ": ";
  auto at = answer.find(wanted);
  if (at == std::string::npos) return {};
  at += wanted.size();
  return answer.substr(at, answer.find('\n', at) - at);
}

}  // namespace jukora::testing
