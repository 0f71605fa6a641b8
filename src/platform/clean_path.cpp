// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clean_path.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/native_path.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#endif

namespace jukora {

#ifdef _WIN32

std::string clean_path(std::string_view path, std::string_view folder) {
  std::error_code error;
  const std::filesystem::path whole = native_path(folder) / native_path(path);
  const std::optional<std::string> text = local_text(std::filesystem::absolute(whole, error));
  return !error && text ? *text : std::string(path);
}

std::string working_folder() {
  std::error_code error;
  return local_text(std::filesystem::current_path(error)).value_or("");
}

std::string peer_working_folder(int) { return {}; }

#else

namespace {

bool same_folder(const char* a, const char* b) {
  struct stat first {
  }, second{};
  return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// `folder` ("" for the root) after "..".
void go_up(std::string& folder) {
  struct stat info {};
  // The parent of a link's target, not of the link.
  if (!folder.empty() && lstat(folder.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
    if (char* real = realpath(folder.c_str(), nullptr)) {
      folder = real;
      std::free(real);
      if (folder == "/") folder.clear();
    }
  folder.resize(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/'));
}

}  // namespace

std::string clean_path(std::string_view path, std::string_view folder) {
  std::string whole(path.starts_with('/') ? std::string_view() : folder);
  whole += '/';
  whole += path;
  // Built without a trailing separator; "" is the root.
  std::string clean;
  for (std::size_t at = 0; at < whole.size();) {
    std::size_t end = whole.find('/', at);
    if (end == std::string::npos) end = whole.size();
    const std::string_view segment = std::string_view(whole).substr(at, end - at);
    at = end + 1;
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") {
      go_up(clean);
      continue;
    }
    clean += '/';
    clean += segment;
  }
  return clean.empty() ? "/" : clean;
}

std::string working_folder() {
  const char* shell = std::getenv("PWD");
  if (shell && shell[0] == '/' && same_folder(shell, ".")) return clean_path(shell, "/");
  char here[PATH_MAX];
  return getcwd(here, sizeof here) ? std::string(here) : std::string();
}

std::string peer_working_folder(int fd) {
#ifdef SO_PEERCRED
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0) return {};
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::read_symlink("/proc/" + std::to_string(peer.pid) + "/cwd", error);
  return error || !folder.is_absolute() ? std::string() : folder.native();
#else
  (void)fd;
  return {};
#endif
}

#endif

}  // namespace jukora
