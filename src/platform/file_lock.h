// SPDX-License-Identifier: GPL-3.0-or-later
// Two programs saving one file take turns through a lock file beside it
// ("NAME.lock"), held from the check whether the file changed to the rename
// of the new one over it. The system's own lock on the lock file (flock; on
// Windows an exclusive open) goes with the program that held it, so a crash
// never leaves the file locked; the lock file is removed on release.
#pragma once

#include <chrono>
#include <string>

namespace jukora {

class FileLock {
 public:
  enum class State {
    kHeld,
    // Another program held it all the time it was tried for.
    kBusy,
    // No lock file can be made there (a folder that is read-only, or that
    // takes no locks): the caller goes on without one.
    kUnavailable,
  };

  // Tries for the lock of `path` until `patience` has passed.
  FileLock(const std::string& path, std::chrono::milliseconds patience);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  State state() const { return state_; }

 private:
  std::string lock_path_;
  State state_ = State::kUnavailable;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace jukora
