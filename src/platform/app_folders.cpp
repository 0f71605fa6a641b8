// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/app_folders.h"

namespace jukora {

std::string join_path(std::string_view dir, std::string_view name) {
  std::string path;
  path.reserve(dir.size() + 1 + name.size());
  path.append(dir);
  if (dir.empty() || dir.back() != kPathSeparator) path.push_back(kPathSeparator);
  path.append(name);
  return path;
}

std::string default_songlist_path(const AppFolders& folders) { return join_path(folders.data, "default.jk8"); }

}  // namespace jukora
