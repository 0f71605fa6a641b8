// SPDX-License-Identifier: GPL-3.0-or-later
// The save pipeline of SonglistFiles: every change, undo and play ends in a
// save that first looks whether another program changed the file, reads it
// again if so, and makes the changes not saved yet again on its rows.
#include <chrono>
#include <exception>

#include "platform/desktop.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/kept_copy.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "songlist/songlist_format.h"

namespace jukora {

namespace {

// Another Jukora holds the lock for one save, tens of milliseconds.
constexpr std::chrono::milliseconds kLockPatience{200};
// Rounds of reading again and saving when the file keeps changing under
// the save.
constexpr int kSaveRounds = 3;
// A file left with its last line unended for this long is no longer being
// written: it is read as it is, as at start.
constexpr std::int64_t kSettledNanoseconds = std::int64_t{30} * 1'000'000'000;

// The table's file text in pieces of about a megabyte.
class Pieces {
 public:
  explicit Pieces(const Songlist& songlist) : songlist_(songlist) {}
  bool operator()(std::string_view& piece) {
    if (next_ >= songlist_.Rows()) return false;
    next_ = append_songlist_text(songlist_, next_, buffer_);
    piece = buffer_;
    return true;
  }

 private:
  const Songlist& songlist_;
  int next_ = 1;
  std::string buffer_;
};

std::string songs_text(int count) { return std::to_string(count) + (count == 1 ? " song" : " songs"); }

}  // namespace

void SonglistFiles::apply(const SonglistChange& change) {
  const ChangeRecord record = apply_change(songlist_, change);
  if (events_) events_->scores_changed(score_changes_of(change, record));
  std::uint64_t step = 0;
  if (change.source != ChangeSource::kUndo && !record.songs.empty())
    step = history_.push(step_label(change, record), record,
                         change.source == ChangeSource::kListening ? StepKind::kListening : StepKind::kPerson);
  pending_.push_back({change, step});
  save();
}

bool SonglistFiles::undo() { return restore(true); }
bool SonglistFiles::redo() { return restore(false); }
bool SonglistFiles::undo(std::uint64_t step) { return step != 0 && step == history_.undo_step() && restore(true); }

bool SonglistFiles::restore(bool undoing) {
  std::optional<UndoStep> step = undoing ? history_.undo() : history_.redo();
  if (!step) return false;
  const SonglistChange change = undoing ? undo_of(step->record, step->label) : redo_of(step->record, step->label);
  const ChangeRecord record = apply_change(songlist_, change);
  if (events_) events_->scores_changed(score_changes_of(change, record));
  pending_.push_back({change, 0});
  const int left = record.changed_since;
  if (left > 0) {
    const std::string what = (undoing ? "Undo of " : "Redo of ") + step->label;
    desktop_.notify(left == static_cast<int>(step->record.songs.size())
                        ? what + ": nothing to do, every song in it changed since."
                        : what + ": " + songs_text(left) + " changed since " + (left == 1 ? "was" : "were") +
                              " left as " + (left == 1 ? "it is." : "they are."));
  }
  save();
  return true;
}

void SonglistFiles::set_last_played(int row, const LastPlayed& last_played) {
  if (row < 1 || row >= songlist_.Rows()) return;
  songlist_.set_last_played(row, last_played);
  played_.emplace_back(songlist_.song_at(row), last_played);
  unsaved_change_ = true;
}

void SonglistFiles::write_songlist() { save(); }

bool SonglistFiles::save() {
  const std::string path = current_path();
  if (unreadable_path_ == path) return false;  // the user was told at load
  if (known_path_ != path) {
    // A file never read or written (the setting was changed from outside).
    // Whatever it holds now counts as what Jukora last saw of it.
    known_path_ = path;
    known_ = stamp_of_path(path);
    known_hash_ = 0;
    std::string bytes;
    bool steady = false;
    if (known_.may_repeat && read_whole_file(path, bytes, known_, steady) == ReadResult::kOk)
      known_hash_ = content_hash(bytes);
  }
  FileLock lock(saved_file_path(path), kLockPatience);
  if (lock.state() == FileLock::State::kBusy) {
    if (!hold_told_)
      desktop_.notify("Another Jukora is saving \"" + path + "\"; your changes are saved once it is done.");
    hold_told_ = true;
    return false;
  }
  bool told = false;
  for (int round = 0; round < kSaveRounds; ++round) {
    if (check_disk(path) == Disk::kChanged) {
      if (walks_ > 0) {
        // A drop's walk is under way: the file is read again once it ends.
        reread_after_walk_ = true;
        return false;
      }
      const Reread reread = read_again(path, !told);
      if (reread == Reread::kHeld) return false;
      told = told || reread == Reread::kDone;
    }
    if (save_to(path, false, true)) return true;
    // Stopped because the file changed during the write, or failed.
    if (check_disk(path) != Disk::kChanged) return false;
  }
  return false;
}

SonglistFiles::Disk SonglistFiles::check_disk(const std::string& path) {
  const FileStamp now = stamp_of_path(path);
  if (!now.exists) return known_.exists ? Disk::kGone : Disk::kSame;
  if (!known_.exists || !now.same_as(known_)) return Disk::kChanged;
  if (!known_.may_repeat) return Disk::kSame;
  // The same stamp within the clock tick of the last read or write: only
  // the bytes tell. Once the tick is over, a later write leaves a new stamp.
  const bool tick_over = !may_still_repeat(known_);
  std::string bytes;
  FileStamp read;
  bool steady = false;
  if (read_whole_file(path, bytes, read, steady) != ReadResult::kOk || !steady || !read.same_as(known_) ||
      content_hash(bytes) != known_hash_)
    return Disk::kChanged;
  known_.may_repeat = !tick_over;
  return Disk::kSame;
}

SonglistFiles::Reread SonglistFiles::read_again(const std::string& path, bool before_save) {
  Songlist fresh;
  const Loaded loaded = load_file(path, fresh);
  if (loaded.kind == Loaded::Kind::kMissing) {
    known_ = {};
    return Reread::kNothing;
  }
  if (std::optional<std::string> message = refusal(path, loaded)) {
    // The rows stay in memory; a Save As keeps them.
    refuse(path, *message);
    return Reread::kHeld;
  }
  const bool settled =
      loaded.stamp.exists && !may_still_repeat(loaded.stamp) && !modified_within(loaded.stamp, kSettledNanoseconds);
  if (!loaded.complete && !settled) {
    if (!hold_told_)
      desktop_.notify("\"" + path +
                      "\" is being written by another program (its last line is not complete yet); your changes are "
                      "saved once it is complete.");
    hold_told_ = true;
    return Reread::kHeld;
  }

  // What lives only here goes over to the new rows by song.
  const Selection selection = selection_of(songlist_);
  std::vector<SongRef> marks;
  for (int i = 1; i < songlist_.Rows(); ++i)
    if (songlist_.marked(i)) marks.push_back(songlist_.song_at(i));
  songlist_.swap_rows(fresh);
  known_ = loaded.stamp;
  known_hash_ = loaded.hash;
  foreign_path_.reset();
  if (loaded.foreign) foreign_path_ = path;
  for (int row : songlist_.rows_of(marks))
    if (row != 0) songlist_.set_marked(row, true);
  std::vector<SongRef> played;
  for (const auto& [song, when] : played_) played.push_back(song);
  const std::vector<int> rows = songlist_.rows_of(played);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const LastPlayed& when = played_[i].second;
    if (rows[i] != 0 && when.later_than(songlist_.last_played(rows[i]))) songlist_.set_last_played(rows[i], when);
  }
  select(songlist_, selection);
  if (before_save || !pending_.empty()) desktop_.notify(kReadAgainNotice);
  for (const Pending& pending : pending_) {
    const ChangeRecord record = apply_change(songlist_, pending.change, true);
    if (record.missing > 0) tell_dropped(pending.change, record);
    if (UndoStep* step = pending.step ? history_.find(pending.step) : nullptr) step->record = record;
  }
  return Reread::kDone;
}

void SonglistFiles::tell_dropped(const SonglistChange& change, const ChangeRecord& record) {
  const int missing = record.missing;
  if (record.songs.empty())
    return desktop_.notify(change.label + " was dropped: " + (missing == 1 ? "its song is" : "its songs are") +
                           " no longer in the songlist (another program removed " + (missing == 1 ? "it)." : "them)."));
  desktop_.notify(change.label + ": " + songs_text(missing) + " of it " + (missing == 1 ? "is" : "are") +
                  " no longer in the songlist (another program removed " + (missing == 1 ? "it" : "them") +
                  "); the rest was done.");
}

bool SonglistFiles::save_to(const std::string& path, bool always_report, bool checked) {
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
  WriteResult result = WriteResult::kFailed;
  WrittenFile written;
  if (!foreign_path_) {
    // The old file is replaced only if it is still the one checked.
    auto still_ours = [&] { return !checked || check_disk(path) != Disk::kChanged; };
    std::optional<FileLock> lock;
    if (!checked) lock.emplace(saved_file_path(path), kLockPatience);
    result = write_file_atomically(path, Pieces(songlist_), error, written, still_ours);
  }
  if (result == WriteResult::kDone) {
    known_path_ = path;
    known_ = written.stamp;
    known_hash_ = written.hash;
    saved(path);
    return true;
  }
  if (result == WriteResult::kStopped) return false;
  if (always_report || !failure_reported_) {
    // A failed Save As leaves the current file as it was; its own later
    // failure must still be told.
    if (!always_report) failure_reported_ = true;
    desktop_.message_box("Jukora could not save the songlist to \"" + path + "\": " + error +
                         ".  Changes are kept only while Jukora runs; use Songlist > Save As to save them elsewhere.");
  }
  return false;
}

void SonglistFiles::saved(const std::string& /*path*/) {
  failure_reported_ = false;
  unsaved_change_ = false;
  hold_told_ = false;
  pending_.clear();
  played_.clear();
}

bool SonglistFiles::reread_if_changed(int& top_row) {
  const std::string path = current_path();
  if (unreadable_path_ == path || known_path_ != path) return false;
  if (walks_ > 0) {
    reread_after_walk_ = true;
    return false;
  }
  bool reread = false;
  {
    FileLock lock(saved_file_path(path), kLockPatience);
    // Another Jukora is saving: its rename brings the watch back here.
    if (lock.state() == FileLock::State::kBusy) return false;
    if (check_disk(path) == Disk::kChanged) {
      const SongRef top = songlist_.song_at(top_row);
      const Reread result = read_again(path, false);
      if (result == Reread::kHeld) return false;
      reread = result == Reread::kDone;
      if (reread) {
        const std::vector<int> rows = songlist_.rows_of(std::span<const SongRef>(&top, 1));
        top_row = rows[0] != 0 ? rows[0] : std::min(top_row, songlist_.Rows() - 1);
      }
    }
  }
  if (!pending_.empty()) save();
  return reread;
}

void SonglistFiles::end_walk() {
  if (walks_ > 0) --walks_;
  if (walks_ > 0 || !reread_after_walk_) return;
  reread_after_walk_ = false;
  int top_row = 0;
  reread_if_changed(top_row);
}

}  // namespace jukora
