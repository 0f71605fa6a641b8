// One directory as a drop walks it: the files and subdirectories a user would
// see in a file manager, each in name order.
#pragma once

#include <filesystem>
#include <functional>
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
// be read. `tick` runs after every entry, so that a huge folder can yield.
bool list_directory(const std::string& dir, DirListing& out, const std::function<void()>& tick);

// Hidden as the platform's file manager sees it: a dot name on POSIX, the
// hidden or system attribute on Windows.
bool is_hidden_entry(const std::filesystem::directory_entry& entry);

}  // namespace jukora
