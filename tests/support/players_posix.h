// SPDX-License-Identifier: GPL-3.0-or-later
// The processes started on a given mpv socket, found by their command line
// (Linux /proc), and a poll with a deadline for tests that wait on them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/fakes.h"

namespace jukora::testing {

template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(8)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// Live processes whose command line names this socket.
inline std::vector<pid_t> players_on(const std::string& socket) {
  std::vector<pid_t> found;
  const std::string option = "--input-ipc-server=" + socket + '\0';
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid > 0 && read_bytes(entry.path() / "cmdline").find(option) != std::string::npos) found.push_back(pid);
  }
  return found;
}

}  // namespace jukora::testing
