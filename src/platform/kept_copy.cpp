// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/kept_copy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/files.h"
#include "platform/native_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace jukora {

namespace {

constexpr int kMostCopies = 999;

enum class Created { kYes, kTaken, kFailed };

// Creates `path` holding `bytes`, unless something of that name exists.
Created create_new_file(const std::string& path, std::string_view bytes, int mode, std::string& error) {
#ifdef _WIN32
  (void)mode;
  int fd = _wopen(native_path(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
#endif
  if (fd < 0) {
    if (errno == EEXIST) return Created::kTaken;
    error = std::strerror(errno);
    return Created::kFailed;
  }
  bool ok = write_all(fd, bytes);
#ifdef _WIN32
  ok = ok && _commit(fd) == 0;
  int saved = errno;
  ok = _close(fd) == 0 && ok;
#else
  // The copy takes the permissions of the file it keeps: a private list
  // stays private.
  ok = ok && fchmod(fd, static_cast<mode_t>(mode)) == 0 && fsync(fd) == 0;
  int saved = errno;
  ok = close(fd) == 0 && ok;
#endif
  if (ok) return Created::kYes;
  error = std::strerror(saved ? saved : EIO);
  std::error_code ignored;
  std::filesystem::remove(native_path(path), ignored);
  return Created::kFailed;
}

int file_mode(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return 0;
#else
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : 0600;
#endif
}

}  // namespace

std::optional<std::string> keep_copy_beside(const std::string& path, std::string& error) {
  std::string bytes;
  switch (read_whole_file(path, bytes)) {
    case ReadResult::kOk:
      break;
    case ReadResult::kMissing:
      return std::string();
    default:
      error = "it could not be read";
      return std::nullopt;
  }
  const int mode = file_mode(path);
  for (int n = 1; n <= kMostCopies; ++n) {
    std::string copy = path + ".orig" + (n == 1 ? std::string() : "-" + std::to_string(n));
    switch (create_new_file(copy, bytes, mode, error)) {
      case Created::kYes:
        return copy;
      case Created::kFailed:
        return std::nullopt;
      case Created::kTaken: {
        std::string earlier;
        if (read_whole_file(copy, earlier) == ReadResult::kOk && earlier == bytes) return copy;
        break;
      }
    }
  }
  error = "too many earlier copies beside it";
  return std::nullopt;
}

}  // namespace jukora
