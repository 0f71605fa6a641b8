// SPDX-License-Identifier: GPL-3.0-or-later
// The current songlist file: load, autosave, and the New / Save As / Open
// commands. Saves are atomic; a failed save is reported once; a file that
// exists but could not be read is never saved over, and one holding text
// Jukora would not write is copied aside before the first save over it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jukora {

class Songlist;
class SettingsStore;
class Desktop;
struct AppFolders;
struct DialogMemory;

// The Songlist submenu's commands.
enum class SonglistCommand { kNew, kSaveAs, kOpen };

inline constexpr const char* kSonglistFilter = "Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*";

class SonglistFiles {
 public:
  SonglistFiles(Songlist& songlist, SettingsStore& settings, Desktop& desktop, const AppFolders& folders,
                DialogMemory& dialog);

  // The path in "last_set", or the data folder's default.jk8.
  std::string current_path() const;

  // Saves the whole table to the current path.
  void write_songlist();
  // Replaces the rows by the current file's records and recomputes.
  void read_songlist();
  // New, Save As or Open, through the file dialog.
  void mnuSonglist_Click(SonglistCommand command);

  // "Jukora Song Manager - name" and "Songlist (name)" for the current path.
  void show_captions();

  // A change kept in memory without a save (a direct play's Last Played);
  // the next save or load settles it.
  void note_unsaved_change() { unsaved_change_ = true; }
  bool has_unsaved_change() const { return unsaved_change_; }

 private:
  // Writes the table to `path`. An autosave failure is reported once until a
  // save succeeds again; a Save As failure always.
  bool save_to(const std::string& path, bool always_report);
  // The load found nothing it may replace: the table is left empty and the
  // file is never saved over. Told once per file.
  void refuse(const std::string& path, const std::string& message);

  Songlist& songlist_;
  SettingsStore& settings_;
  Desktop& desktop_;
  const AppFolders& folders_;
  DialogMemory& dialog_;
  bool failure_reported_ = false;
  bool unsaved_change_ = false;
  // A songlist that exists but could not be read: saving would replace the
  // user's list with an empty one.
  std::optional<std::string> unreadable_path_;
  // A songlist whose text is not what Jukora writes for the rows it read
  // from it (another program's file, a hand edit): its original is kept
  // beside it before it is first saved over.
  std::optional<std::string> foreign_path_;
};

std::string window_caption(std::string_view songlist_path);
std::string menu_caption(std::string_view songlist_path);

}  // namespace jukora
