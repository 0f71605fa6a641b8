// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist_files.h"

#include <cstdio>
#include <exception>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/kept_copy.h"
#include "platform/native_path.h"
#include "platform/settings_keys.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_format.h"

namespace jukora {

std::string window_caption(std::string_view songlist_path) {
  return "Jukora Song Manager - " + get_file_name(songlist_path);
}

std::string menu_caption(std::string_view songlist_path) { return "Songlist (" + get_file_name(songlist_path) + ")"; }

SonglistFiles::SonglistFiles(Songlist& songlist, SettingsStore& settings, Desktop& desktop, const AppFolders& folders,
                             DialogMemory& dialog)
    : songlist_(songlist), settings_(settings), desktop_(desktop), folders_(folders), dialog_(dialog) {}

std::string SonglistFiles::current_path() const { return read_last_set(settings_, folders_); }

void SonglistFiles::show_captions() {
  std::string path = current_path();
  desktop_.set_captions(window_caption(path), menu_caption(path));
}

void SonglistFiles::refuse(const std::string& path, const std::string& message) {
  if (unreadable_path_ == path) return;
  unreadable_path_ = path;
  desktop_.message_box(message);
}

SonglistFiles::Loaded SonglistFiles::load_file(const std::string& path, Songlist& into) {
  Loaded loaded;
  std::string bytes;
  bool steady = false;
  switch (read_whole_file(path, bytes, loaded.stamp, steady)) {
    case ReadResult::kMissing:
      return loaded;
    case ReadResult::kUnreadable:
      loaded.kind = Loaded::Kind::kUnreadable;
      return loaded;
    case ReadResult::kNotAFile:
      loaded.kind = Loaded::Kind::kNotASonglist;
      return loaded;
    case ReadResult::kTooBig:
      loaded.kind = Loaded::Kind::kTooBig;
      return loaded;
    case ReadResult::kOk:
      break;
  }
  // No path, score or date holds a NUL byte, but every sound file does: a
  // song picked through "All Files" by mistake must not be saved over.
  if (bytes.find('\0') != std::string::npos) {
    loaded.kind = Loaded::Kind::kNotASonglist;
    return loaded;
  }
  loaded.kind = Loaded::Kind::kRows;
  // The bytes tell what the stamp cannot: another write within this tick.
  if (loaded.stamp.may_repeat) loaded.hash = content_hash(bytes);
  try {
    // A record cut short ends the load quietly, without the recompute.
    const LoadedText text = load_songlist_text(bytes, into);
    loaded.whole = text.whole;
    loaded.complete = steady && text.whole && (bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r');
    // Saving over an empty file, or over the blank row of an empty list,
    // loses nothing.
    const bool empty_list = text.whole && into.Rows() <= 2 && into.TextMatrix(1, col::kDirectory).empty() &&
                            into.TextMatrix(1, col::kFile).empty();
    loaded.foreign = !bytes.empty() && !empty_list && !text.as_written;
  } catch (const std::exception&) {
    // Out of memory, most likely: the rows read so far go too.
    std::string().swap(bytes);
    into.Clear();
    loaded.kind = Loaded::Kind::kUnreadable;
  }
  return loaded;
}

std::optional<std::string> SonglistFiles::refusal(const std::string& path, const Loaded& loaded) const {
  switch (loaded.kind) {
    case Loaded::Kind::kMissing:
    case Loaded::Kind::kRows:
      return std::nullopt;
    case Loaded::Kind::kUnreadable:
      return "Jukora could not read the songlist \"" + path +
             "\".  It will not be changed until it can be read; choose Songlist > Open to try again, or New or Save "
             "As to work with another file.";
    case Loaded::Kind::kNotASonglist:
      return "\"" + path +
             "\" is not a songlist.  It will not be changed; choose Songlist > Open, New or Save As to work with a "
             "songlist.";
    case Loaded::Kind::kTooBig:
      return "\"" + path + "\" is too big for a songlist (over " + std::to_string(kMaxReadBytes >> 20) +
             " MB).  It will not be changed; choose Songlist > Open, New or Save As to work with a songlist.";
  }
  return std::nullopt;
}

void SonglistFiles::read_songlist() {
  unsaved_change_ = false;
  pending_.clear();
  played_.clear();
  history_.clear();
  hold_told_ = false;
  std::string path = current_path();
  // One blank data row stays, keeping its number; a table that never held a
  // row keeps its header row alone.
  const bool had_rows = songlist_.Rows() > 1;
  const std::string number(songlist_.TextMatrix(1, col::kNumber));
  songlist_.Clear();
  if (had_rows) songlist_.add_cells({number});
  foreign_path_.reset();
  Loaded loaded = load_file(path, songlist_);
  known_path_ = path;
  known_ = loaded.stamp;
  known_hash_ = loaded.hash;
  if (std::optional<std::string> message = refusal(path, loaded)) {
    if (songlist_.Rows() == 1 && had_rows) songlist_.add_cells({number});
    return refuse(path, *message);
  }
  // A songlist not written yet is no refusal: the next save creates it.
  unreadable_path_.reset();
  if (loaded.foreign) foreign_path_ = path;
}

void SonglistFiles::mnuSonglist_Click(SonglistCommand command) {
  static constexpr const char* kTitles[] = {"New", "Save As", "Open"};
  FileDialogRequest request;
  request.title = kTitles[static_cast<int>(command)];
  request.filter = kSonglistFilter;
  request.initial_dir = dialog_.initial_dir.empty() ? folders_.data : dialog_.initial_dir;
  request.file_name = default_songlist_path(folders_);
  auto chosen = desktop_.choose_file(request);
  if (!chosen || chosen->empty()) return;
  const std::string& path = *chosen;

  if (command == SonglistCommand::kNew) {
    if (is_file(path)) {
      desktop_.message_box("New:  File already exists.");
      return;
    }
    std::FILE* file = open_file(path, "ab");
    if (!file || std::fclose(file) != 0) {
      desktop_.message_box("New:  Jukora could not create \"" + path + "\".");
      return;
    }
  } else if (command == SonglistCommand::kSaveAs) {
    // The user chose to replace whatever is there.
    if (!save_to(path, true, false)) return;
    history_.clear();
  } else if (!is_file(path)) {
    desktop_.message_box("Open:  No such songlist.");
    return;
  }
  save_last_set(settings_, path);
  unreadable_path_.reset();
  // The failure told before was about another file.
  failure_reported_ = false;
  if (command != SonglistCommand::kSaveAs) read_songlist();
  show_captions();
}

}  // namespace jukora
