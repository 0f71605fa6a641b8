// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its own files.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

struct AppFolders {
  // The per-user data folder (default songlist, the player's playlist file,
  // the dialogs' starting point). No trailing separator.
  std::string data;
};

// dir + separator + name, with no second separator after a dir that ends in
// one (a root: "/", "C:\"): a doubled one would be a second spelling of
// the same folder.
std::string join_path(std::string_view dir, std::string_view name);

// The data folder's "default.jk8".
std::string default_songlist_path(const AppFolders& folders);

}  // namespace jukora
