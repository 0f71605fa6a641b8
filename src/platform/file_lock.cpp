// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "platform/native_path.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// A save holds the lock for milliseconds: short pauses between tries.
void pause(Clock::time_point deadline, std::chrono::milliseconds& wait) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  std::this_thread::sleep_for(std::clamp(left, std::chrono::milliseconds(0), wait));
  wait = std::min(wait * 2, std::chrono::milliseconds(8));
}

}  // namespace

#ifdef _WIN32

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) : lock_path_(path + ".lock") {
  const auto deadline = Clock::now() + patience;
  auto wait = std::chrono::milliseconds(1);
  std::wstring name;
  try {
    name = native_path(lock_path_).wstring();
  } catch (const std::exception&) {
    return;
  }
  for (;;) {
    // Opened by one program at a time, and gone once it closes.
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      handle_ = handle;
      state_ = State::kHeld;
      return;
    }
    const DWORD error = GetLastError();
    // A lock file held open, or one whose removal is under way, is another
    // program's turn; a folder that takes no new file is no place for locks.
    const bool taken = error == ERROR_SHARING_VIOLATION ||
                       (error == ERROR_ACCESS_DENIED && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (!taken) return;
    if (Clock::now() >= deadline) {
      state_ = State::kBusy;
      return;
    }
    pause(deadline, wait);
  }
}

FileLock::~FileLock() {
  if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
}

#else

FileLock::FileLock(const std::string& path, std::chrono::milliseconds patience) : lock_path_(path + ".lock") {
  const auto deadline = Clock::now() + patience;
  auto wait = std::chrono::milliseconds(1);
  for (;;) {
    int fd = open(lock_path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    // Another user's lock file in a shared folder locks as well read-only.
    if (fd < 0 && errno == EACCES) fd = open(lock_path_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before may have removed the file between our open and our
      // lock: a lock on a file no longer there locks nothing.
      struct stat held {
      }, named{};
      if (fstat(fd, &held) == 0 && lstat(lock_path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
          held.st_ino == named.st_ino) {
        fd_ = fd;
        state_ = State::kHeld;
        return;
      }
      close(fd);
      continue;
    }
    const int error = errno;
    close(fd);
    if (error != EWOULDBLOCK && error != EINTR) return;
    if (Clock::now() >= deadline) {
      state_ = State::kBusy;
      return;
    }
    pause(deadline, wait);
  }
}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  // Removed while still held, so that no one takes a lock on it after it is gone.
  unlink(lock_path_.c_str());
  close(fd_);
}

#endif

}  // namespace jukora
