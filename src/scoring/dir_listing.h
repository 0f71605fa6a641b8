// SPDX-License-Identifier: GPL-3.0-or-later
// One directory as a drop walks it: the files and subdirectories a user would
// see in a file manager, each in name order.
#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace jukora {

struct DirListing {
  struct Subdir {
    std::string name;
    bool link = false;  // reached through a symbolic link or junction
  };
  std::vector<std::string> files;
  std::vector<Subdir> subdirs;
};

// Lists `dir` into `out`: regular files and directories (links followed),
// hidden entries and special files left out. False when the directory cannot
// be read, or when `tick`, which runs after every entry so that a huge folder
// can yield, answers false to stop the listing.
bool list_directory(const std::string& dir, DirListing& out, const std::function<bool()>& tick);

// A folder as the file system knows it, whichever path or link leads there.
struct FolderId {
  std::uint64_t device = 0;
  std::uint64_t index = 0;
  friend auto operator<=>(const FolderId&, const FolderId&) = default;
};

// The folder `dir` names (links followed); nothing when it cannot be reached.
std::optional<FolderId> folder_id(const std::string& dir);

// Hidden as the platform's file manager sees it: a dot name on POSIX, the
// hidden or system attribute on Windows.
bool is_hidden_entry(const std::filesystem::directory_entry& entry);

}  // namespace jukora
