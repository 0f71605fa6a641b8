// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/stale_saves.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/native_path.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace jukora {

namespace fs = std::filesystem;

namespace {

bool all_of(std::string_view text, int (*is_kind)(int)) {
  return std::all_of(text.begin(), text.end(), [is_kind](char c) { return is_kind(static_cast<unsigned char>(c)); });
}

// The saver's names: ".saving-" and mkstemp's six letters and digits on
// POSIX, ".saving" and the attempt number on Windows.
bool is_temporary_of(std::string_view name, std::string_view base) {
  if (name.size() <= base.size() || name.substr(0, base.size()) != base) return false;
  name.remove_prefix(base.size());
#ifdef _WIN32
  constexpr std::string_view kMark = ".saving";
  if (name.substr(0, kMark.size()) != kMark) return false;
  name.remove_prefix(kMark.size());
  return !name.empty() && name.size() <= 2 && all_of(name, std::isdigit);
#else
  constexpr std::string_view kMark = ".saving-";
  if (name.substr(0, kMark.size()) != kMark) return false;
  name.remove_prefix(kMark.size());
  return name.size() == 6 && all_of(name, std::isalnum);
#endif
}

#ifdef _WIN32

void remove_if_stale(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(path, error))) return;
  auto changed = fs::last_write_time(path, error);
  if (error || fs::file_time_type::clock::now() - changed < kStaleSaveAge) return;
  // A file still open for writing cannot be removed, which spares a save
  // that is under way.
  fs::remove(path, error);
}

#else

void remove_if_stale(const fs::path& path) {
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  // The saver holds a lock on its file from creation to rename.
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
      std::time(nullptr) - info.st_mtime >= kStaleSaveAge.count() && flock(fd, LOCK_EX | LOCK_NB) == 0) {
    struct stat named {};
    if (lstat(path.c_str(), &named) == 0 && named.st_dev == info.st_dev && named.st_ino == info.st_ino)
      unlink(path.c_str());
  }
  close(fd);
}

#endif

using NameTest = std::function<bool(std::string_view name)>;

void remove_stale_in(const fs::path& dir, const NameTest& is_ours) {
  try {
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
      const std::optional<std::string> name = local_text(it->path().filename());
      if (name && is_ours(*name)) remove_if_stale(it->path());
    }
  } catch (const std::exception&) {
    // A name the local encoding cannot hold is none of ours; the write goes on.
  }
}

}  // namespace

void remove_stale_temporaries(const std::string& folder, const NameTest& is_ours) {
  remove_stale_in(native_path(folder), is_ours);
}

void remove_stale_saves(const std::string& path) {
  const fs::path target = native_path(path);
  const std::optional<std::string> base = local_text(target.filename());
  if (!base || base->empty()) return;
  remove_stale_in(target.has_parent_path() ? target.parent_path() : fs::path("."),
                  [&](std::string_view name) { return is_temporary_of(name, *base); });
}

}  // namespace jukora
