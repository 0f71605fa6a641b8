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

bool SonglistFiles::save_to(const std::string& path, bool always_report) {
  std::string error;
  if (foreign_path_ == path) {
    std::optional<std::string> copy = keep_copy_beside(path, error);
    if (!copy) {
      error = "its original text could not be kept beside it (" + error + ")";
    } else {
      foreign_path_.reset();
      if (!copy->empty())
        desktop_.notify("\"" + path + "\" held text that Jukora does not write; its original is kept in \"" + *copy +
                        "\".");
    }
  }
  if (!foreign_path_ && write_file_atomically(path, songlist_file_text(songlist_), error)) {
    failure_reported_ = false;
    unsaved_change_ = false;
    return true;
  }
  if (always_report || !failure_reported_) {
    // A failed Save As leaves the current file as it was; its own later
    // failure must still be told.
    if (!always_report) failure_reported_ = true;
    desktop_.message_box("Jukora could not save the songlist to \"" + path + "\": " + error +
                         ".  Changes are kept only while Jukora runs; use Songlist > Save As to save them elsewhere.");
  }
  return false;
}

void SonglistFiles::write_songlist() {
  std::string path = current_path();
  if (unreadable_path_ && *unreadable_path_ == path) return;  // the user was told at load
  save_to(path, false);
}

void SonglistFiles::refuse(const std::string& path, const std::string& message) {
  if (unreadable_path_ == path) return;
  unreadable_path_ = path;
  desktop_.message_box(message);
}

void SonglistFiles::read_songlist() {
  unsaved_change_ = false;
  std::string path = current_path();
  // One blank data row stays, keeping its number; a table that never held a
  // row keeps its header row alone.
  const bool had_rows = songlist_.Rows() > 1;
  const std::string number(songlist_.TextMatrix(1, col::kNumber));
  auto empty_table = [&] {
    songlist_.Clear();
    if (had_rows) songlist_.add_cells({number});
  };
  empty_table();
  foreign_path_.reset();
  const std::string not_a_songlist = "\"" + path +
                                     "\" is not a songlist.  It will not be changed; choose Songlist > Open, New or "
                                     "Save As to work with a songlist.";
  const std::string unreadable = "Jukora could not read the songlist \"" + path +
                                 "\".  It will not be changed until it can be read; choose Songlist > Open to "
                                 "try again, or New or Save As to work with another file.";
  std::string bytes;
  switch (read_whole_file(path, bytes)) {
    case ReadResult::kMissing:
      // A songlist not written yet: the next save creates it.
      unreadable_path_.reset();
      return;
    case ReadResult::kUnreadable:
      return refuse(path, unreadable);
    case ReadResult::kNotAFile:
      return refuse(path, not_a_songlist);
    case ReadResult::kTooBig:
      return refuse(path, "\"" + path + "\" is too big for a songlist (over " + std::to_string(kMaxReadBytes >> 20) +
                              " MB).  It will not be changed; choose Songlist > Open, New or Save As to work with a "
                              "songlist.");
    case ReadResult::kOk:
      break;
  }
  // No path, score or date holds a NUL byte, but every sound file does: a
  // song picked through "All Files" by mistake must not be saved over.
  if (bytes.find('\0') != std::string::npos) return refuse(path, not_a_songlist);
  unreadable_path_.reset();
  try {
    // A record cut short ends the load quietly, without the recompute.
    const LoadedText loaded = load_songlist_text(bytes, songlist_);
    // Saving over an empty file, or over the blank row of an empty list,
    // loses nothing.
    const bool empty_list = loaded.whole && songlist_.Rows() <= 2 && songlist_.TextMatrix(1, col::kDirectory).empty() &&
                            songlist_.TextMatrix(1, col::kFile).empty();
    if (!bytes.empty() && !empty_list && !loaded.as_written) foreign_path_ = path;
  } catch (const std::exception&) {
    // Out of memory, most likely: the rows read so far go too.
    std::string().swap(bytes);
    empty_table();
    refuse(path, unreadable);
  }
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
    if (!save_to(path, true)) return;
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
