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
#include <system_error>
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

// Lists one directory a few entries at a time, so that a huge folder can be
// read across several steps of the event loop: regular files and
// directories (links followed), hidden entries and special files left out.
class DirectoryReading {
 public:
  enum class Result { kDone, kFailed, kMore };

  explicit DirectoryReading(const std::string& dir);
  // Reads entries into `out` while `more`, asked before each entry, answers
  // true. kMore: it answered false, and the next read goes on with that
  // entry without asking again. kDone: the listing is complete, each part
  // in name order. kFailed: the directory cannot be read.
  Result read(DirListing& out, const std::function<bool()>& more);

 private:
  std::filesystem::directory_iterator it_;
  std::error_code error_;
  bool asked_ = false;
};

// Lists `dir` into `out` at once. False when the directory cannot be read.
bool list_directory(const std::string& dir, DirListing& out);

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
