// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/native_path.h"
#include "platform/stale_saves.h"

namespace jukora {

namespace fs = std::filesystem;

namespace {

std::string reason(int error_number) { return std::strerror(error_number); }

}  // namespace

namespace {

// A read of the open file `fd` of `path`, after the checks of its kind.
ReadResult read_open_file(int fd, std::string& bytes, std::size_t max_bytes, FileStamp& before, FileStamp& after) {
  before = stamp_of_fd(fd);
  if (before.size > max_bytes) return ReadResult::kTooBig;
  ReadResult result = ReadResult::kOk;
  try {
    bytes.reserve(static_cast<std::size_t>(before.size));
    char buffer[1 << 16];
    while (true) {
#ifdef _WIN32
      const int n = _read(fd, buffer, sizeof buffer);
#else
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
#endif
      if (n < 0) result = ReadResult::kUnreadable;
      if (n <= 0) break;
      // A file that grows while it is read still stops at the cap.
      if (bytes.size() + static_cast<std::size_t>(n) > max_bytes) {
        result = ReadResult::kTooBig;
        break;
      }
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  } catch (const std::bad_alloc&) {
    result = ReadResult::kUnreadable;
  }
  after = stamp_of_fd(fd);
  return result;
}

#ifdef _WIN32

ReadResult read_file(const std::string& path, std::string& bytes, std::size_t max_bytes, FileStamp& before,
                     FileStamp& after) {
  bytes.clear();
  std::error_code error;
  auto status = fs::status(native_path(path), error);
  if (status.type() == fs::file_type::not_found) return ReadResult::kMissing;
  if (error || status.type() == fs::file_type::directory) return ReadResult::kUnreadable;
  // Device names such as CON would wait for input.
  if (status.type() != fs::file_type::regular) return ReadResult::kNotAFile;
  const int fd = _wopen(native_path(path).c_str(), _O_RDONLY | _O_BINARY);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kUnreadable;
  struct _stat64 info {};
  ReadResult result = ReadResult::kOk;
  if (_fstat64(fd, &info) != 0) {
    result = ReadResult::kUnreadable;
  } else if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    result = ReadResult::kNotAFile;
  } else {
    result = read_open_file(fd, bytes, max_bytes, before, after);
  }
  _close(fd);
  if (result != ReadResult::kOk) std::string().swap(bytes);
  return result;
}

#else

ReadResult read_file(const std::string& path, std::string& bytes, std::size_t max_bytes, FileStamp& before,
                     FileStamp& after) {
  bytes.clear();
  // Opening a pipe for reading would wait for a writer; nothing is read
  // before fstat has shown a regular file.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kUnreadable;
  struct stat info {};
  ReadResult result = ReadResult::kOk;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    result = ReadResult::kUnreadable;
  } else if (!S_ISREG(info.st_mode)) {
    result = ReadResult::kNotAFile;
  } else {
    result = read_open_file(fd, bytes, max_bytes, before, after);
  }
  close(fd);
  if (result != ReadResult::kOk) std::string().swap(bytes);
  return result;
}

#endif

// A reader's tries at a file that keeps changing under it.
constexpr int kReadTries = 3;

}  // namespace

ReadResult read_whole_file(const std::string& path, std::string& bytes, std::size_t max_bytes) {
  FileStamp before, after;
  return read_file(path, bytes, max_bytes, before, after);
}

ReadResult read_whole_file(const std::string& path, std::string& bytes, FileStamp& stamp, bool& steady) {
  ReadResult result = ReadResult::kMissing;
  for (int attempt = 0; attempt < kReadTries; ++attempt) {
    FileStamp before;
    result = read_file(path, bytes, kMaxReadBytes, before, stamp);
    steady = before.same_as(stamp) && stamp.size == bytes.size();
    if (result != ReadResult::kOk || steady) break;
  }
  return result;
}

std::string saved_file_path(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  // Renaming over a link would replace the link, leaving the file it points
  // to behind; the file itself is what gets replaced.
  std::error_code error;
  if (!fs::is_symlink(fs::symlink_status(fs::path(path), error))) return path;
  auto target = fs::canonical(fs::path(path), error);
  return error ? path : target.string();
#endif
}

bool write_file_atomically(const std::string& path, std::string_view bytes, std::string& error) {
  bool handed = false;
  WrittenFile written;
  return write_file_atomically(
             path,
             [&](std::string_view& piece) {
               if (handed) return false;
               piece = bytes;
               handed = true;
               return true;
             },
             error, written) == WriteResult::kDone;
}

namespace {

bool write_pieces(int fd, const std::function<bool(std::string_view&)>& next) {
  std::string_view piece;
  while (next(piece))
    if (!write_all(fd, piece)) return false;
  return true;
}

// The hash of what the open file `fd` holds, read from its start. A save
// needs it only when its stamp could repeat, which is seldom: the flush to
// disk takes longer than a tick of the clock.
std::uint64_t hash_of_file(int fd) {
  ContentHash hash;
  char buffer[1 << 16];
#ifdef _WIN32
  _lseeki64(fd, 0, SEEK_SET);
  for (int n; (n = _read(fd, buffer, sizeof buffer)) > 0;)
    hash.add(std::string_view(buffer, static_cast<std::size_t>(n)));
#else
  off_t at = 0;
  for (ssize_t n; (n = pread(fd, buffer, sizeof buffer, at)) != 0; at += n > 0 ? n : 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    hash.add(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
#endif
  return hash.value();
}

}  // namespace

#ifdef _WIN32

WriteResult write_file_atomically(const std::string& path, const std::function<bool(std::string_view&)>& next,
                                  std::string& error, WrittenFile& written, const std::function<bool()>& still_ours) {
  remove_stale_saves(path);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".saving" + std::to_string(attempt);
    fd = _wopen(native_path(temp).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = reason(errno);
    return WriteResult::kFailed;
  }
  bool ok = write_pieces(fd, next) && _commit(fd) == 0;
  int saved = errno;
  ok = _close(fd) == 0 && ok;
  // NTFS may set the time at the close: the stamp is taken after it, and
  // the rename keeps it.
  if (ok) written.stamp = stamp_of_path(temp);
  if (ok && written.stamp.may_repeat) {
    const int again = _wopen(native_path(temp).c_str(), _O_RDONLY | _O_BINARY);
    if (again >= 0) {
      written.hash = hash_of_file(again);
      _close(again);
    }
  }
  if (!ok) error = reason(saved ? saved : EIO);
  if (!ok || (still_ours && !still_ours())) {
    _wremove(native_path(temp).c_str());
    return ok ? WriteResult::kStopped : WriteResult::kFailed;
  }
  std::error_code rename_error;
  fs::rename(native_path(temp), native_path(path), rename_error);
  if (rename_error) {
    error = rename_error.message();
    _wremove(native_path(temp).c_str());
    return WriteResult::kFailed;
  }
  return WriteResult::kDone;
}

#else

WriteResult write_file_atomically(const std::string& link_path, const std::function<bool(std::string_view&)>& next,
                                  std::string& error, WrittenFile& written, const std::function<bool()>& still_ours) {
  const std::string path = saved_file_path(link_path);
  // A rename would go past a file the user made read-only; writing in place
  // could not.
  if (access(path.c_str(), W_OK) != 0 && errno != ENOENT) {
    error = reason(errno);
    return WriteResult::kFailed;
  }
  remove_stale_saves(path);
  std::string temp = path + ".saving-XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = reason(errno);
    return WriteResult::kFailed;
  }
  // Tells remove_stale_saves that this one is being written. Where locks are
  // not to be had, the file's age alone tells it.
  flock(fd, LOCK_EX | LOCK_NB);
  // Keep the permissions of the file being replaced; a new file gets the
  // usual ones (mkstemp makes it private).
  struct stat old {};
  mode_t mode = 0666;
  if (stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  }
  bool ok = fchmod(fd, mode) == 0 && write_pieces(fd, next) && fdatasync(fd) == 0;
  int saved = errno;
  // Nothing but the rename can touch this file before it replaces the old
  // one, so the stamp taken now is the stamp it will have there.
  if (ok) written.stamp = stamp_of_fd(fd);
  if (ok && written.stamp.may_repeat) written.hash = hash_of_file(fd);
  ok = close(fd) == 0 && ok;
  if (ok && still_ours && !still_ours()) {
    unlink(temp.c_str());
    return WriteResult::kStopped;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    error = reason(saved ? saved : EIO);
    unlink(temp.c_str());
    return WriteResult::kFailed;
  }
  // Make the rename itself durable.
  auto slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  int dir_fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    fsync(dir_fd);
    close(dir_fd);
  }
  return WriteResult::kDone;
}

#endif

bool write_all(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
#ifdef _WIN32
    int written = _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(left, 1u << 30)));
#else
    ssize_t written = write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
#endif
    if (written <= 0) return false;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

bool is_file(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(native_path(path), error);
}

bool is_directory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(native_path(path), error);
}

}  // namespace jukora
