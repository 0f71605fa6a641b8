// SPDX-License-Identifier: GPL-3.0-or-later
// A change the user makes to the songlist: a score step, a delete, songs
// added, an import's targets, or the undoing or redoing of one of these. It
// names its songs, never row numbers, so that the same change can be made
// again on the rows read afresh when another program changed the file, and
// be taken back later. Applying one records each song's row before and
// after it.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "songlist/song_cells.h"
#include "songlist/song_events.h"
#include "songlist/song_ref.h"

namespace jukora {

class Songlist;

// One song's row as a change found it or left it.
struct SongState {
  bool present = false;
  Score score;
  LastPlayed last_played;
  // The row it stood at; 0 when it was not listed.
  int position = 0;

  // The same Score and Last Played, or both not listed; where the row
  // stands does not count (other rows move it).
  bool same_row_as(const SongState& other) const {
    return present == other.present && (!present || (score == other.score && last_played == other.last_played));
  }
};

// The cursor (Row) and the other end of the selection (RowSel), with the
// songs at both, which find them again once other rows have moved.
struct Selection {
  int row = 0;
  int row_sel = 0;
  SongRef row_song;
  SongRef row_sel_song;
};

Selection selection_of(const Songlist& songlist);
// Makes the selection that one, each end found by its song, else by its row.
void select(Songlist& songlist, const Selection& selection);

// What an import asks of one song (a rating kept by another program).
struct ImportTarget {
  SongRef song;
  // The Score the song gets.
  std::optional<Score> score;
  // Taken only when it is later than the row's own Last Played.
  std::optional<LastPlayed> last_played;
  // A song not listed joins the list (with the Score and Last Played above).
  bool add_if_missing = false;
};

struct ScoreStep {
  std::vector<SongRef> songs;
  int step = 0;
};

struct Deletion {
  std::vector<SongRef> songs;
};

struct Addition {
  std::vector<SongRef> songs;
  // Add Files: no row is current while adding, and each new row becomes
  // current in turn.
  bool select_new = false;
};

struct Import {
  std::vector<ImportTarget> targets;
};

// Undo and redo: each song goes from the row `from` to the row `to`, unless
// its row is no longer `from` (the song changed since); then the selection
// becomes `selection`.
struct Restore {
  std::vector<SongRef> songs;
  std::vector<SongState> from;
  std::vector<SongState> to;
  Selection selection;
};

// The song made current once the change is done: looked for from row `from`
// towards the top after a step up, towards the bottom otherwise, which is
// where a score change can have moved it.
struct Follow {
  SongRef song;
  int from = 0;
  int step = 0;
};

struct SonglistChange {
  std::variant<ScoreStep, Deletion, Addition, Import, Restore> what;
  ChangeSource source = ChangeSource::kWindow;
  std::optional<Follow> follow;
  // What the menu names it by: "Increment of b.mp3", "Delete of 300 songs".
  std::string label;
};

// The data rows `first` to `last`, as the calls below take them.
std::vector<int> row_range(int first, int last);
// The score step of the window over `rows` (a range, or the rows a search
// shows of it), the song at `anchor` followed.
SonglistChange score_step_of_rows(const Songlist& songlist, const std::vector<int>& rows, int anchor, int step,
                                  ChangeSource source);
// A step of one song (the one the player is at), followed from row `from`.
SonglistChange score_step_of_song(SongRef song, int step, ChangeSource source, int from);
// The Delete key over `rows`: one change, however many rows.
SonglistChange deletion_of_rows(const Songlist& songlist, const std::vector<int>& rows);
// Songs joining the list (Add Files, a drop, the playing song added).
SonglistChange addition(std::vector<SongRef> songs, ChangeSource source);
// An import: what it asks of each song.
SonglistChange import_change(std::vector<ImportTarget> targets);
// A step of one song's score that listening made: no song is made current.
SonglistChange listening_change(SongRef song, int step);

// What applying a change did.
struct ChangeRecord {
  // The songs whose rows it changed, with their rows before and after.
  std::vector<SongRef> songs;
  std::vector<SongState> before;
  std::vector<SongState> after;
  Selection selection_before;
  Selection selection_after;
  // Songs of the change that were not listed (another program removed
  // them) and, for undo and redo, songs that changed since, left alone.
  int missing = 0;
  int changed_since = 0;
};

// Applies the change and recomputes. `read_afresh`: the rows were read again
// from the file after the change was made, so the song to follow is looked
// for in the whole list when it is not where it was.
ChangeRecord apply_change(Songlist& songlist, const SonglistChange& change, bool read_afresh = false);

// The name of the step a change made: an addition or an import names the
// songs it changed, not the ones it was given.
std::string step_label(const SonglistChange& change, const ChangeRecord& record);

// The changes that take a record's change back, and make it again.
SonglistChange undo_of(const ChangeRecord& record, const std::string& label);
SonglistChange redo_of(const ChangeRecord& record, const std::string& label);

// The Score changes a change made, for those who follow them: songs whose
// whole score moved, and songs that joined the list with a score other
// than 0 (an import's).
std::vector<ScoreChange> score_changes_of(const SonglistChange& change, const ChangeRecord& record);

}  // namespace jukora
