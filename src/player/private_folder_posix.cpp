#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "player/private_folder.h"

namespace jukora {

bool make_private_folder(const std::string& path) {
  if (path.empty() || path.front() != '/') return false;
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  // lstat: a link planted by someone else must not redirect us.
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

}  // namespace jukora
