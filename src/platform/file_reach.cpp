// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_reach.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/native_path.h"

namespace jukora {

namespace {

namespace fs = std::filesystem;

// Looks that ran out and have not come back yet; a hung mount keeps them
// forever, so there is a ceiling.
constexpr int kMostStuck = 4;
std::atomic<int> looks_running{0};

struct Answer {
  std::mutex mutex;
  std::condition_variable ready;
  bool done = false;
};

}  // namespace

FileReach look_at_file(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(native_path(path), error);
  if (status.type() == fs::file_type::regular) return FileReach::kThere;
  if (status.type() == fs::file_type::not_found) return FileReach::kMissing;
  return error ? FileReach::kUnreachable : FileReach::kMissing;
}

bool look_within(std::function<void()> look, std::chrono::milliseconds deadline) {
  if (looks_running.fetch_add(1) >= kMostStuck) {
    looks_running.fetch_sub(1);
    return false;
  }
  auto answer = std::make_shared<Answer>();
  try {
    std::thread([answer, look = std::move(look)] {
      look();
      looks_running.fetch_sub(1);
      std::lock_guard lock(answer->mutex);
      answer->done = true;
      answer->ready.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    looks_running.fetch_sub(1);
    return false;
  }
  std::unique_lock lock(answer->mutex);
  return answer->ready.wait_for(lock, deadline, [&] { return answer->done; });
}

FileReach reach_file(const std::string& path, std::chrono::milliseconds deadline,
                     const std::function<FileReach(const std::string&)>& look) {
  auto reach = std::make_shared<FileReach>(FileReach::kNoAnswer);
  if (!look_within([reach, path, look] { *reach = look(path); }, deadline)) return FileReach::kNoAnswer;
  return *reach;
}

}  // namespace jukora
