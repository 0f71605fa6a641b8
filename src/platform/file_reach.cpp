// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_reach.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
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
  std::optional<FileReach> reach;
};

}  // namespace

FileReach look_at_file(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(native_path(path), error);
  if (status.type() == fs::file_type::regular) return FileReach::kThere;
  if (status.type() == fs::file_type::not_found) return FileReach::kMissing;
  return error ? FileReach::kUnreachable : FileReach::kMissing;
}

FileReach reach_file(const std::string& path, std::chrono::milliseconds deadline,
                     const std::function<FileReach(const std::string&)>& look) {
  if (looks_running.fetch_add(1) >= kMostStuck) {
    looks_running.fetch_sub(1);
    return FileReach::kNoAnswer;
  }
  auto answer = std::make_shared<Answer>();
  try {
    std::thread([answer, path, look] {
      const FileReach reach = look(path);
      looks_running.fetch_sub(1);
      std::lock_guard lock(answer->mutex);
      answer->reach = reach;
      answer->ready.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    looks_running.fetch_sub(1);
    return FileReach::kNoAnswer;
  }
  std::unique_lock lock(answer->mutex);
  if (!answer->ready.wait_for(lock, deadline, [&] { return answer->reach.has_value(); })) return FileReach::kNoAnswer;
  return *answer->reach;
}

}  // namespace jukora
