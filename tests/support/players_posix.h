// SPDX-License-Identifier: GPL-3.0-or-later
// The processes started on a given mpv socket, found by their command line
// (Linux /proc), Unix sockets made by hand and a private runtime folder.
#pragma once

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace jukora::testing {

// Live processes whose command line names this socket.
inline std::vector<pid_t> players_on(const std::string& socket) {
  std::vector<pid_t> found;
  const std::string option = "--input-ipc-server=" + socket + '\0';
  for (const auto& [pid, command_line] : process_command_lines())
    if (command_line.find(option) != std::string::npos) found.push_back(pid);
  return found;
}

// Connects `fd` to the Unix socket at `path`.
inline bool connect_unix(int fd, const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  return connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

// A socket bound at `path`, listening with `backlog` unless that is negative
// (a socket file left behind); -1 when it cannot be made.
inline int unix_socket_at(const std::string& path, int backlog) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && (backlog < 0 || listen(fd, backlog) == 0))
    return fd;
  close(fd);
  return -1;
}

// XDG_RUNTIME_DIR set to a private folder at `path`, as the links want it.
inline bool use_runtime_dir(const std::string& path) {
  std::filesystem::create_directories(path);
  return chmod(path.c_str(), 0700) == 0 && setenv("XDG_RUNTIME_DIR", path.c_str(), 1) == 0;
}

}  // namespace jukora::testing
