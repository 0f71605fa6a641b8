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

SonglistFiles::SonglistFiles(Songlist& songlist, SettingsStore& settings, Desktop& desktop, const AppFolders& folders)
    : songlist_(songlist), settings_(settings), desktop_(desktop), folders_(folders) {}

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
    const bool empty_list = text.whole && into.Rows() <= 2 && into.directory(1).empty() && into.file(1).empty();
    loaded.records = text.records;
    loaded.odd_records = text.odd_records;
    // Records that are no songs may all be dropped, leaving an empty list;
    // the file still held text of its own.
    loaded.foreign = !bytes.empty() && (!empty_list || text.odd_records > 0) && !text.as_written;
  } catch (const std::exception&) {
    // Out of memory, most likely: the rows read so far go too.
    std::string().swap(bytes);
    into.Clear();
    loaded.kind = Loaded::Kind::kUnreadable;
  }
  return loaded;
}

std::optional<std::string> SonglistFiles::refusal(const std::string& path, const Loaded& loaded, bool opening) const {
  const std::string quoted = "\"" + path + "\"";
  std::string why;
  switch (loaded.kind) {
    case Loaded::Kind::kMissing:
    case Loaded::Kind::kRows:
      return std::nullopt;
    case Loaded::Kind::kUnreadable:
      if (!opening)
        return "Jukora could not read the songlist " + quoted +
               ".  It will not be changed until it can be read; choose Songlist > Open to try again, or New or Save "
               "As to work with another file.";
      why = "Jukora could not read " + quoted + ".";
      break;
    case Loaded::Kind::kNotASonglist:
      why = quoted + " is not a songlist.";
      break;
    case Loaded::Kind::kTooBig:
      why = quoted + " is too big for a songlist (over " + std::to_string(kMaxReadBytes >> 20) + " MB).";
      break;
  }
  if (opening) return "Open:  " + why + "  " + get_file_name(current_path()) + " stays open.";
  return why + "  It will not be changed; choose Songlist > Open, New or Save As to work with a songlist.";
}

void SonglistFiles::read_songlist() {
  std::string path = current_path();
  // One blank data row stays, keeping its number; a table that never held a
  // row keeps its header row alone.
  const bool had_rows = songlist_.Rows() > 1;
  const std::string number = songlist_.TextMatrix(1, col::kNumber);
  songlist_.Clear();
  if (had_rows) songlist_.add_cells({number});
  const Loaded loaded = load_file(path, songlist_);
  if (refusal(path, loaded) && songlist_.Rows() == 1 && had_rows) songlist_.add_cells({number});
  loaded_from(path, loaded);
}

bool SonglistFiles::open_songlist(const std::string& path) {
  Songlist fresh;
  if (songlist_.Rows() > 1) fresh.add_cells({songlist_.TextMatrix(1, col::kNumber)});
  const Loaded loaded = load_file(path, fresh);
  if (std::optional<std::string> message = refusal(path, loaded, true)) {
    desktop_.message_box(*message);
    return false;
  }
  save_last_set(settings_, path);
  songlist_.swap_rows(fresh);
  // As a load into the table itself leaves it: the last row read current.
  if (fresh.Row() != 0) {
    songlist_.SetRow(fresh.Row());
    songlist_.SetCol(fresh.Col());
  }
  // Named before anything is said about it.
  show_captions();
  loaded_from(path, loaded);
  return true;
}

void SonglistFiles::loaded_from(const std::string& path, const Loaded& loaded) {
  unsaved_change_ = false;
  pending_.clear();
  played_.clear();
  history_.clear();
  hold_told_ = false;
  foreign_path_.reset();
  known_path_ = path;
  known_ = loaded.stamp;
  known_hash_ = loaded.hash;
  if (std::optional<std::string> message = refusal(path, loaded)) return refuse(path, *message);
  // A songlist not written yet is no refusal: the next save creates it.
  unreadable_path_.reset();
  if (loaded.foreign) foreign_path_ = path;
  if (loaded.odd_records > 0)
    desktop_.message_box(
        "\"" + path + "\" does not look like a songlist: " + std::to_string(loaded.odd_records) + " of its " +
        std::to_string(loaded.records) + (loaded.records == 1 ? " record has" : " records have") +
        " a score that is not a number or a Last Played that is not a date; Jukora takes them "
        "as 0 and never played.  When Jukora first saves it, its original text is kept beside it as \"" +
        get_file_name(path) + ".orig\" (unless that name is taken).");
}

void SonglistFiles::songlist_command(SonglistCommand command) {
  static constexpr const char* kTitles[] = {"New", "Save As", "Open"};
  FileDialogRequest request;
  request.title = kTitles[static_cast<int>(command)];
  request.filter = kSonglistFilter;
  // The dialogs start where the current songlist is, which is how a person
  // finds it again: Open and Save As offer its name, New none.
  const std::string current = current_path();
  const std::string folder = get_dir_name(current);
  request.initial_dir = folder.empty() ? folders_.data : folder;
  if (command != SonglistCommand::kNew) request.file_name = get_file_name(current);
  request.asks_to_replace = command == SonglistCommand::kSaveAs;
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
    // The user chose to replace whatever is there; the dialog asked first.
    if (!save_to(path, true, false)) return;
    history_.clear();
  } else if (!is_file(path)) {
    desktop_.message_box("Open:  No such songlist.");
    return;
  }
  // What the list that was open keeps only in memory (a direct play's Last
  // Played) is saved before another takes its place.
  if (command != SonglistCommand::kSaveAs && has_unsaved_change()) save();
  if (command == SonglistCommand::kOpen) {
    if (!open_songlist(path)) return;
  } else {
    save_last_set(settings_, path);
  }
  unreadable_path_.reset();
  // The failure told before was about another file.
  failure_reported_ = false;
  if (command == SonglistCommand::kNew) read_songlist();
  show_captions();
}

}  // namespace jukora
