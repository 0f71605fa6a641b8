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

std::optional<std::string> real_path(const std::string& path) {
  std::error_code error;
  std::optional<std::string> real = local_text(fs::canonical(native_path(path), error));
  return error ? std::nullopt : real;
}

}  // namespace

SongWalk::SongWalk(std::function<bool()> go_on) : go_on_(std::move(go_on)) {}

bool SongWalk::go_on() {
  if (!cancelled_ && go_on_ && !go_on_()) cancelled_ = true;
  return !cancelled_;
}

void SongWalk::take(const std::string& dropped) {
  if (cancelled_) return;
  try {
    const std::string path = without_trailing_separators(dropped);
    if (path.empty() || path.back() == '.') return;
    std::error_code error;
    const fs::file_status status = fs::status(native_path(path), error);
    if (error) return;
    if (!fs::is_directory(status)) {
      if (is_audio_extension(get_extension(path))) found_.push_back({song_directory(path), get_file_name(path)});
      return;
    }
    std::optional<std::string> real = real_path(path);
    if (!real) return;
    trees_.push_back(std::move(*real));
    walk_directory(path);
  } catch (const std::exception&) {
    // Quiet by design, like every other entry that cannot be read: the
    // songs found so far stay and the walk goes on with the next path.
  }
}

// Kept off the call stack so that a very deep tree cannot overflow it.
void SongWalk::walk_directory(const std::string& top) {
  struct Level {
    std::string path;
    std::vector<DirListing::Subdir> subdirs;
    std::size_t next = 0;
  };
  std::vector<Level> levels;
  auto enter = [&](std::string dir) {
    std::optional<FolderId> id = folder_id(dir);
    if (!id || !walked_.insert(*id).second) return;
    DirListing listing;
    if (!list_directory(dir, listing, [&] { return go_on(); })) return;
    for (const std::string& name : listing.files) {
      if (name.back() != '.' && is_audio_extension(get_extension(name))) found_.push_back({dir, name});
      if (!go_on()) return;
    }
    levels.push_back({std::move(dir), std::move(listing.subdirs)});
  };

  enter(top);
  while (!levels.empty() && !cancelled_) {
    Level& level = levels.back();
    if (level.next == level.subdirs.size()) {
      levels.pop_back();
      continue;
    }
    DirListing::Subdir sub = std::move(level.subdirs[level.next++]);
    std::string path = join_path(level.path, sub.name);
    if (sub.name.back() != '.' && (!sub.link || enter_link(level.path, path))) enter(std::move(path));
    go_on();
  }
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
