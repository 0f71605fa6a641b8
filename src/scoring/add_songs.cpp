// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/add_songs.h"

#include <array>
#include <exception>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "scoring/dir_listing.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr std::array<std::string_view, 17> kAudioExtensions = {"mp3", "mp2", "mp1", "cda", "mod", "mid",
                                                               "wav", "voc", "it",  "xm",  "stm", "s3m",
                                                               "dsm", "far", "ult", "mtm", "669"};
#else
// The players on Linux read today's formats too.
constexpr std::array<std::string_view, 27> kAudioExtensions = {
    "mp3", "mp2", "mp1", "cda",  "mod", "mid", "wav",  "voc", "it",  "xm",  "stm", "s3m", "dsm", "far",
    "ult", "mtm", "669", "flac", "ogg", "oga", "opus", "m4a", "aac", "wma", "ape", "wv",  "mpc"};
#endif

// The folder of several chosen files as the dialog names it, which writes a
// drive root with its separator ("C:\") where one file's Directory is "C:".
std::string dialog_folder(std::string_view path) {
  std::string dir = song_directory(path);
  if (kPathSeparator == '\\' && dir.size() == 2 && dir[1] == ':') dir.push_back(kPathSeparator);
  return dir;
}

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

class BusyCursor {
 public:
  explicit BusyCursor(Desktop& desktop) : desktop_(desktop) { desktop_.set_busy(true); }
  ~BusyCursor() { desktop_.set_busy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Desktop& desktop_;
};

}  // namespace

bool is_audio_extension(std::string_view extension) {
  for (std::string_view known : kAudioExtensions)
    if (extension == known) return true;
  return false;
}

// State of one drop: the real folders whose trees it walks, so that a link
// leading back into one of them ends the walk there instead of looping; every
// folder walked, so that none is walked twice by whatever path; and the songs
// found, which join the list only once the walk has ended uncancelled.
struct AddSongs::Walk {
  std::vector<std::string> trees;
  std::set<FolderId> walked;
  std::vector<std::pair<std::string, std::string>> found;
  std::chrono::steady_clock::time_point last_yield;
  bool cancelled = false;
};

AddSongs::AddSongs(Songlist& songlist, SonglistFiles& files, Desktop& desktop, DialogMemory& dialog, SteadyNow now)
    : songlist_(songlist), files_(files), desktop_(desktop), dialog_(dialog), now_(std::move(now)) {}

bool append_unlisted_song(Songlist& songlist, std::string_view directory, std::string_view file) {
  if (songlist.contains(directory, file)) return false;
  songlist.add_cells({"", directory, file});
  return true;
}

bool AddSongs::append_song(const std::string& dir, const std::string& file) {
  return append_unlisted_song(songlist_, dir, file);
}

void AddSongs::add_file_row(const std::string& path) {
  if (is_directory(path)) return;
  append_song(song_directory(path), get_file_name(path));
}

void AddSongs::add_files_dialog() {
  FileDialogRequest request{kAddFilesTitle, kAudioFilter, dialog_.initial_dir, dialog_.file_name};
  std::vector<std::string> chosen = desktop_.choose_files(request);
  if (chosen.empty()) return;

  // No data row is current while adding; each new song becomes current in turn.
  songlist_.SetRow(0);
  songlist_.SetCol(col::kFile);
  std::string dir;
  for (const std::string& path : chosen) {
    dir = chosen.size() > 1 ? dialog_folder(path) : song_directory(path);
    if (append_song(dir, get_file_name(path))) songlist_.SetRow(songlist_.Rows() - 1);
  }
  dialog_.initial_dir = dir;
  dialog_.file_name.clear();

  recompute_songlist(songlist_);
  // Adding to an empty list: the recompute removes the placeholder row above
  // the new ones, which would leave the current row past the end.
  if (songlist_.Row() > songlist_.Rows() - 1) songlist_.SetRow(songlist_.Rows() - 1);
  files_.write_songlist();
  songlist_.SetCol(col::kNumber);
}

void AddSongs::MSFlexGrid1_OLEDragDrop(const std::vector<std::string>& paths) {
  BusyCursor busy(desktop_);
  Walk walk;
  walk.last_yield = now_();
  for (const std::string& path : paths) {
    if (walk.cancelled) break;
    try {
      drag_drop_file(walk, without_trailing_separators(path));
    } catch (const std::exception&) {
      // Quiet by design, like every other entry that cannot be read: the
      // songs found so far stay and the drop goes on with the next path.
    }
  }
  desktop_.end_progress();
  if (walk.cancelled) return;
  for (const auto& [dir, file] : walk.found) append_song(dir, file);
  recompute_songlist(songlist_);
  files_.write_songlist();
}

void AddSongs::drag_drop_file(Walk& walk, const std::string& path) {
  if (path.empty() || path.back() == '.') return;
  std::error_code error;
  fs::file_status status = fs::status(native_path(path), error);
  if (error) return;
  if (!fs::is_directory(status)) {
    if (is_audio_extension(get_extension(path))) walk.found.emplace_back(song_directory(path), get_file_name(path));
    return;
  }
  std::optional<std::string> real = local_text(fs::canonical(native_path(path), error));
  if (error || !real) return;
  walk.trees.push_back(std::move(*real));
  walk_directory(walk, path);
}

// Depth first, files before subdirectories, each in name order. Kept off the
// call stack so that a very deep tree cannot overflow it.
void AddSongs::walk_directory(Walk& walk, const std::string& top) {
  struct Level {
    std::string path;
    std::vector<DirListing::Subdir> subdirs;
    std::size_t next = 0;
  };
  std::vector<Level> levels;
  auto enter = [&](std::string dir) {
    std::optional<FolderId> id = folder_id(dir);
    if (!id || !walk.walked.insert(*id).second) return;
    DirListing listing;
    if (!list_directory(dir, listing, [&] { return pace(walk); })) return;
    for (const std::string& name : listing.files) {
      if (name.back() != '.' && is_audio_extension(get_extension(name))) walk.found.emplace_back(dir, name);
      if (!pace(walk)) return;
    }
    levels.push_back({std::move(dir), std::move(listing.subdirs)});
  };

  enter(top);
  while (!levels.empty() && !walk.cancelled) {
    Level& level = levels.back();
    if (level.next == level.subdirs.size()) {
      levels.pop_back();
      continue;
    }
    DirListing::Subdir sub = std::move(level.subdirs[level.next++]);
    std::string path = join_path(level.path, sub.name);
    if (sub.name.back() != '.' && (!sub.link || enter_link(walk, level.path, path))) enter(std::move(path));
    pace(walk);
  }
}

// A directory link is followed unless it leads into a tree this drop walks
// already, or to a folder that holds the link itself (an ancestor, or the
// root): either would list the same songs again under a second folder name,
// or the whole disk. A link leading elsewhere is followed, and its target
// becomes a tree too.
bool AddSongs::enter_link(Walk& walk, const std::string& parent, const std::string& path) {
  std::error_code error;
  const std::optional<std::string> target = local_text(fs::canonical(native_path(path), error));
  if (error || !target) return false;
  const std::optional<std::string> real_parent = local_text(fs::canonical(native_path(parent), error));
  if (error || !real_parent || lies_within(*target, *real_parent)) return false;
  for (const std::string& tree : walk.trees)
    if (lies_within(tree, *target)) return false;
  walk.trees.push_back(*target);
  return true;
}

bool AddSongs::pace(Walk& walk) {
  if (walk.cancelled) return false;
  if (now_() - walk.last_yield < kYieldInterval) return true;
  desktop_.yield_events();
  if (!desktop_.show_progress("Looking for songs: " + std::to_string(walk.found.size()) + " found in " +
                              std::to_string(walk.walked.size()) + " folders."))
    walk.cancelled = true;
  walk.last_yield = now_();
  return !walk.cancelled;
}

}  // namespace jukora
