// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include "scoring/dir_listing.h"

namespace jukora {

bool is_hidden_entry(const std::filesystem::directory_entry& entry) {
  const std::string name = entry.path().filename().native();
  return !name.empty() && name.front() == '.';
}

std::optional<FolderId> folder_id(const std::string& dir) {
  struct stat info {};
  if (stat(dir.c_str(), &info) != 0) return std::nullopt;
  return FolderId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace jukora
