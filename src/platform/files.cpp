#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/native_path.h"

namespace jukora {

namespace fs = std::filesystem;

namespace {

std::string reason(int error_number) { return std::strerror(error_number); }

}  // namespace

ReadResult read_whole_file(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::error_code error;
  auto status = fs::status(native_path(path), error);
  if (status.type() == fs::file_type::not_found) return ReadResult::kMissing;
  if (error || status.type() == fs::file_type::directory) return ReadResult::kUnreadable;
  std::FILE* file = open_file(path, "rb");
  if (!file) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kUnreadable;
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? ReadResult::kUnreadable : ReadResult::kOk;
}

#ifdef _WIN32

bool write_file_atomically(const std::string& path, std::string_view bytes, std::string& error) {
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".saving" + std::to_string(attempt);
    fd = _wopen(native_path(temp).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0 && errno != EEXIST) break;
  }
  std::FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
  if (!file) {
    error = reason(errno);
    if (fd >= 0) {
      _close(fd);
      _wremove(native_path(temp).c_str());
    }
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0 &&
            _commit(_fileno(file)) == 0;
  int saved = errno;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    error = reason(saved);
    _wremove(native_path(temp).c_str());
    return false;
  }
  std::error_code rename_error;
  fs::rename(native_path(temp), native_path(path), rename_error);
  if (rename_error) {
    error = rename_error.message();
    _wremove(native_path(temp).c_str());
    return false;
  }
  return true;
}

#else

bool write_file_atomically(const std::string& link_path, std::string_view bytes, std::string& error) {
  // Renaming over a link would replace the link, leaving the file it points
  // to behind; the file itself is what gets replaced.
  std::string path = link_path;
  std::error_code link_error;
  if (fs::is_symlink(fs::symlink_status(fs::path(link_path), link_error))) {
    auto target = fs::canonical(fs::path(link_path), link_error);
    if (!link_error) path = target.string();
  }
  // A rename would go past a file the user made read-only; writing in place
  // could not.
  if (access(path.c_str(), W_OK) != 0 && errno != ENOENT) {
    error = reason(errno);
    return false;
  }
  std::string temp = path + ".saving-XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = reason(errno);
    return false;
  }
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
  bool ok = fchmod(fd, mode) == 0;
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (ok && left > 0) {
    ssize_t written = write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      ok = false;
      break;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  ok = ok && fdatasync(fd) == 0;
  int saved = errno;
  ok = close(fd) == 0 && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    error = reason(saved ? saved : EIO);
    unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  auto slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  int dir_fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir_fd >= 0) {
    fsync(dir_fd);
    close(dir_fd);
  }
  return true;
}

#endif

bool is_file(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(native_path(path), error);
}

bool is_directory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(native_path(path), error);
}

}  // namespace jukora
