// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>
#include <vector>

#include "platform/app_folders.h"
#include "platform/private_folder.h"

namespace jukora {

bool make_private_folder(const std::string& path) {
  if (path.empty() || path.front() != '/') return false;
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  // lstat: a link planted by someone else must not redirect us.
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

void tell_stderr_and_log(const std::string& text) {
  std::fprintf(stderr, "jukora: %s\n", text.c_str());
  ::syslog(LOG_USER | LOG_WARNING, "%s", text.c_str());
}

std::string private_socket_folder(const std::string& data_folder, std::size_t longest_name,
                                  const std::function<void(const std::string&)>& tell) {
  std::vector<std::string> folders;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
    folders.push_back(join_path(runtime, "jukora"));
  folders.push_back("/tmp/jukora-" + std::to_string(::geteuid()));
  const std::string in_data = join_path(data_folder, "sockets");
  if (!data_folder.empty()) folders.push_back(in_data);
  // A refused folder may be an attack or a mistake: the user hears where
  // the sockets went instead, once, not at every start of a player.
  static std::mutex told_mutex;
  static std::set<std::string> told;
  std::string refused;
  for (const auto& folder : folders) {
    // A longer path would silently leave the socket unreachable.
    if (folder.size() + 1 + longest_name >= sizeof(sockaddr_un{}.sun_path)) continue;
    if (folder == in_data) {
      std::error_code ignored;
      std::filesystem::create_directories(data_folder, ignored);
    }
    if (make_private_folder(folder)) {
      std::lock_guard lock(told_mutex);
      if (!refused.empty() && tell && told.insert(refused).second)
        tell("the private folder " + refused + " is refused (a link, another user's, or open to others); using " +
             folder + " instead.");
      return folder;
    }
    struct stat info {};
    if (refused.empty() && ::lstat(folder.c_str(), &info) == 0) refused = folder;
  }
  return {};
}

SocketCheck check_own_socket(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? SocketCheck::kMissing : SocketCheck::kForeign;
  return S_ISSOCK(info.st_mode) && info.st_uid == ::geteuid() ? SocketCheck::kOwnSocket : SocketCheck::kForeign;
}

bool peer_is_this_user(int fd) {
#ifdef SO_PEERCRED
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == ::geteuid();
#else
  uid_t uid;
  gid_t gid;
  if (::getpeereid(fd, &uid, &gid) != 0) return false;
  return uid == ::geteuid();
#endif
}

}  // namespace jukora
