// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/song_walk.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/app_folders.h"
#include "platform/native_path.h"
#include "scoring/add_songs.h"
#include "songlist/paths.h"

namespace jukora {

namespace fs = std::filesystem;

namespace {

// "/music/" would list its songs under a second spelling of the folder;
// a root ("/", "C:\") keeps its separator.
std::string without_trailing_separators(std::string path) {
  while (path.size() > 1 && path.back() == kPathSeparator && path[path.size() - 2] != ':') path.pop_back();
  return path;
}

bool lies_within(const std::string& tree, const std::string& path) {
  if (path.compare(0, tree.size(), tree) != 0) return false;
  return path.size() == tree.size() || tree.back() == kPathSeparator || path[tree.size()] == kPathSeparator;
}

bool is_empty_file(const std::string& path) {
  std::error_code error;
  return fs::file_size(native_path(path), error) == 0 && !error;
}

std::optional<std::string> real_path(const std::string& path) {
  std::error_code error;
  std::optional<std::string> real = local_text(fs::canonical(native_path(path), error));
  return error ? std::nullopt : real;
}

}  // namespace

SongWalk::SongWalk(std::function<bool()> go_on) : go_on_(std::move(go_on)) {}
SongWalk::~SongWalk() = default;

void SongWalk::take(const std::string& path) {
  add(path);
  if (!walk_on()) cancelled_ = true;
}

void SongWalk::add(const std::string& path) { paths_.push_back(path); }

bool SongWalk::walk_on() {
  while (!cancelled_) {
    try {
      return walk();
    } catch (const std::exception&) {
      // Quiet by design, like every other entry that cannot be read: the
      // songs found so far stay and the walk goes on with the next path.
      levels_.clear();
      reading_.reset();
      listed_ = after_subdir_ = false;
    }
  }
  return true;
}

// Depth first, files before subfolders, each in name order; kept off the
// call stack so that a very deep tree cannot overflow it.
bool SongWalk::walk() {
  auto go_on = [this] { return !go_on_ || go_on_(); };
  while (true) {
    if (reading_) {
      switch (reading_->read(listing_, go_on)) {
        case DirectoryReading::Result::kMore:
          return false;
        case DirectoryReading::Result::kFailed:
          reading_.reset();
          after_subdir_ = !levels_.empty();
          continue;
        case DirectoryReading::Result::kDone:
          reading_.reset();
          listed_ = true;
          next_file_ = 0;
          break;
      }
    }
    if (listed_) {
      while (next_file_ < listing_.files.size()) {
        const std::string& name = listing_.files[next_file_++];
        if (name.back() != '.' && is_audio_extension(get_extension(name))) found(dir_, name);
        if (!go_on()) return false;
      }
      listed_ = false;
      after_subdir_ = !levels_.empty();
      levels_.push_back({std::move(dir_), std::move(listing_.subdirs)});
    }
    if (after_subdir_) {
      after_subdir_ = false;
      if (!go_on()) return false;
    }
    if (!levels_.empty()) {
      Level& level = levels_.back();
      if (level.next == level.subdirs.size()) {
        levels_.pop_back();
        continue;
      }
      DirListing::Subdir sub = std::move(level.subdirs[level.next++]);
      std::string path = join_path(level.path, sub.name);
      after_subdir_ = true;
      if (sub.name.back() != '.' && (!sub.link || enter_link(level.path, path))) enter(std::move(path));
      continue;
    }
    if (paths_.empty()) return true;
    const std::string path = without_trailing_separators(std::move(paths_.front()));
    paths_.pop_front();
    begin(path);
  }
}

void SongWalk::begin(const std::string& path) {
  if (path.empty() || path.back() == '.') return;
  std::error_code error;
  const fs::file_status status = fs::status(native_path(path), error);
  if (error) return;
  if (!fs::is_directory(status)) {
    if (is_audio_extension(get_extension(path))) found(song_directory(path), get_file_name(path));
    return;
  }
  std::optional<std::string> real = real_path(path);
  if (!real) return;
  trees_.push_back(std::move(*real));
  enter(path);
}

void SongWalk::found(std::string dir, std::string file) {
  if (is_empty_file(join_path(dir, file))) empty_.insert(found_.size());
  found_.push_back({std::move(dir), std::move(file)});
}

void SongWalk::enter(std::string dir) {
  std::optional<FolderId> id = folder_id(dir);
  if (!id || !walked_.insert(*id).second) return;
  after_subdir_ = false;
  dir_ = std::move(dir);
  listing_ = {};
  reading_ = std::make_unique<DirectoryReading>(dir_);
}

// A directory link is followed unless it leads into a tree this walk takes
// already, or to a folder that holds the link itself (an ancestor, or the
// root): either would list the same songs again under a second folder name,
// or the whole disk. A link leading elsewhere is followed, and its target
// becomes a tree too.
bool SongWalk::enter_link(const std::string& parent, const std::string& path) {
  const std::optional<std::string> target = real_path(path);
  const std::optional<std::string> real_parent = target ? real_path(parent) : std::nullopt;
  if (!target || !real_parent || lies_within(*target, *real_parent)) return false;
  for (const std::string& tree : trees_)
    if (lies_within(tree, *target)) return false;
  trees_.push_back(*target);
  return true;
}

}  // namespace jukora
