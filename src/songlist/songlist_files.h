// SPDX-License-Identifier: GPL-3.0-or-later
// The current songlist file: load, autosave, and the New / Save As / Open
// commands. Saves are atomic; a failed save is reported once; a file that
// exists but could not be read is never saved over, and one holding text
// Jukora would not write is copied aside before the first save over it.
// Every save first looks whether another program changed the file since
// Jukora last read or wrote it; if so the file is read again and the changes
// not saved yet are made again on its rows, so nothing the other program
// wrote is lost. The user's changes are kept as steps to undo and redo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_stamp.h"
#include "songlist/songlist_change.h"
#include "songlist/undo_history.h"

namespace jukora {

class Songlist;
class SettingsStore;
class Desktop;
struct AppFolders;

// The Songlist submenu's commands.
enum class SonglistCommand { kNew, kSaveAs, kOpen };

inline constexpr const char* kSonglistFilter = "Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*";
inline constexpr const char* kReadAgainNotice =
    "The songlist was changed by another program; Jukora read it again before saving.";

class SonglistFiles {
 public:
  SonglistFiles(Songlist& songlist, SettingsStore& settings, Desktop& desktop, const AppFolders& folders);

  // The path in "last_set", or the data folder's default.jk8.
  std::string current_path() const;

  // Saves the whole table to the current path, after reading the file again
  // if another program changed it.
  void write_songlist();
  // Replaces the rows by the current file's records and recomputes. The undo
  // steps and the changes not saved yet end with the list they were made on.
  void read_songlist();
  // New, Save As or Open, through the file dialog.
  void songlist_command(SonglistCommand command);

  // "Jukora Song Manager - name" and "Songlist (name)" for the current path.
  void show_captions();

  // A user's change: applied to the rows, kept as a step that Undo takes
  // back (an undo or a redo is none), and saved. Should the file have
  // changed on disk, the change is made again on the rows read from it; a
  // song no longer there drops out of it, and the user is told.
  void apply(const SonglistChange& change);

  // Where the score changes of every change applied here are told, before
  // the save that keeps them.
  void tell_scores_to(const SongEvents& events) { events_ = &events; }

  // Undo and Redo: the last step taken back, or made again, for each of its
  // songs that has not changed since (the user hears of those that have),
  // rows, places and selection as they were; then saved. False when there
  // was no step.
  bool undo();
  bool redo();
  bool can_undo() const { return history_.can_undo(); }
  bool can_redo() const { return history_.can_redo(); }
  // What the menu names the steps by ("Increment of b.mp3"); empty when none.
  std::string undo_label() const { return history_.undo_label(); }
  std::string redo_label() const { return history_.redo_label(); }
  // The step Undo would take now (0: none), and Undo of that step only: it
  // does nothing once another step was taken since.
  std::uint64_t undo_step() const { return history_.undo_step(); }
  bool undo(std::uint64_t step);

  // The file may have changed (the idle watch saw it): read it again now if
  // it did, keeping the marks, the Last Played of plays not saved yet, and
  // the selection by song. `top_row`, the row at the top of the view, comes
  // back as the row its song stands at now. Changes whose save was held are
  // saved. While a drop's walk runs this waits for its end. Whether the rows
  // were read again.
  bool reread_if_changed(int& top_row);

  // A drop's walk begins and ends: no re-read happens in between; one that
  // was due then happens at its end.
  void begin_walk() { ++walks_; }
  void end_walk();

  // A play's Last Played for data row `row`: kept until it is saved, and
  // carried over a re-read when it is later than the file's.
  void set_last_played(int row, const LastPlayed& last_played);

  // A change kept in memory without a save (a direct play's Last Played, or
  // changes whose save was held or failed); the next save settles it.
  void note_unsaved_change() { unsaved_change_ = true; }
  bool has_unsaved_change() const { return unsaved_change_ || !pending_.empty(); }

 private:
  enum class Disk { kSame, kChanged, kGone };
  enum class Reread { kDone, kNothing, kHeld };
  // A change applied and not saved yet, with its undo step (0: none).
  struct Pending {
    SonglistChange change;
    std::uint64_t step = 0;
  };
  // What a read of the file found (the same guards at the start and later).
  struct Loaded {
    enum class Kind { kMissing, kUnreadable, kNotASonglist, kTooBig, kRows };
    Kind kind = Kind::kMissing;
    // No record cut short: the load recomputed.
    bool whole = false;
    // Whole and with its last line ended: a file still being written is not.
    bool complete = false;
    // Text Jukora would not write for these rows.
    bool foreign = false;
    // Of foreign text, the whole records, and those whose Score or Last
    // Played the load could not read.
    int records = 0;
    int odd_records = 0;
    FileStamp stamp;
    std::uint64_t hash = 0;
  };

  // Reads `path` into `into`, which must be empty.
  Loaded load_file(const std::string& path, Songlist& into);
  // The user's word for a file the load may not use; nothing for one it may.
  // Open tells it otherwise: the list that was open stays.
  std::optional<std::string> refusal(const std::string& path, const Loaded& loaded, bool opening = false) const;
  // Open: the file's rows take the table's place, unless the file is no
  // songlist; then the current songlist stays open and current.
  bool open_songlist(const std::string& path);
  // After the rows of `path` are in the table: what a load settles, and a
  // word to the user about records that are no songs.
  void loaded_from(const std::string& path, const Loaded& loaded);
  // Saves to the current path under its lock; false when nothing was saved.
  bool save();
  // Whether the file changed since Jukora last read or wrote it.
  Disk check_disk(const std::string& path);
  // Reads the changed file again, carries marks, plays and selection over
  // and makes the pending changes again on the new rows. The user hears of
  // it when a save follows.
  Reread read_again(const std::string& path, bool before_save);
  // Writes the table to `path`. An autosave failure is reported once until a
  // save succeeds again; a Save As failure always.
  bool save_to(const std::string& path, bool always_report, bool checked);
  // The load found nothing it may replace: the table is left empty and the
  // file is never saved over. Told once per file.
  void refuse(const std::string& path, const std::string& message);
  // The pending changes saved: nothing is left to make again.
  void saved(const std::string& path);
  // Tells the user about songs a change made again had to leave out.
  void tell_dropped(const SonglistChange& change, const ChangeRecord& record);
  bool restore(bool undoing);

  Songlist& songlist_;
  const SongEvents* events_ = nullptr;
  SettingsStore& settings_;
  Desktop& desktop_;
  const AppFolders& folders_;
  bool failure_reported_ = false;
  bool unsaved_change_ = false;
  // A songlist that exists but could not be read: saving would replace the
  // user's list with an empty one.
  std::optional<std::string> unreadable_path_;
  // A songlist whose text is not what Jukora writes for the rows it read
  // from it (another program's file, a hand edit): its original is kept
  // beside it before it is first saved over.
  std::optional<std::string> foreign_path_;

  UndoHistory history_;
  std::vector<Pending> pending_;
  // Last Played texts of plays not saved yet.
  std::vector<std::pair<SongRef, LastPlayed>> played_;
  // The file as Jukora last read or wrote it, and the hash of its bytes.
  std::string known_path_;
  FileStamp known_;
  std::uint64_t known_hash_ = 0;
  // A held save was told about; told again only after a save has worked.
  bool hold_told_ = false;
  int walks_ = 0;
  bool reread_after_walk_ = false;
};

std::string window_caption(std::string_view songlist_path);
std::string menu_caption(std::string_view songlist_path);

}  // namespace jukora
