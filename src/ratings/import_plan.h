// SPDX-License-Identifier: GPL-3.0-or-later
// An import of ratings, before and after: the preview of what each rated song
// would become, the user's choice of songs, and the one step that applies it
// (new songs join as Add Files adds them; one recompute and one save), with a
// record of every song it changed so that the step can be taken back whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ratings/rating_scale.h"
#include "ratings/rating_source.h"

namespace jukora {

class Songlist;
class SonglistFiles;

// Which songs an import applies to; each choice takes the songs of the one
// before it too.
enum class ImportChoice {
  kNewSongs,        // songs not in the list yet
  kUntouchedSongs,  // and listed songs still at score 0 and never played
  kAllMatched,      // and every other listed song the source rates
};

struct PlannedSong {
  std::string directory, file;
  bool listed = false;
  bool untouched = false;       // listed, Score 0 and never played
  int row = 0;                  // its row now; 0 for a new song
  std::string score_now;        // empty for a new song
  std::string last_played_now;  // empty for a new song
  int half_stars = 0;           // the source's rating
  std::int64_t score_after = 0;
  // The source's last play when it is later than the list's; else empty.
  // Taken whichever songs the choice covers: a song played in the other
  // player counts as played here too.
  std::string last_played_after;
};

struct ImportPlan {
  std::string source_name;
  // Rated songs whose files exist, each once, in the source's order.
  std::vector<PlannedSong> songs;
  std::size_t unrated = 0;
  std::size_t missing = 0;     // the file does not exist: never added
  std::size_t impossible = 0;  // a value no program writes
  std::size_t not_local = 0;   // a stream or another computer's file
  std::size_t repeated = 0;    // a second entry for a song already planned

  bool applies_to(const PlannedSong& song, ImportChoice choice) const;
};

using FileExists = std::function<bool(const std::string& path)>;

// The preview of importing `read` into `songlist` by `rule`. Paths are matched
// byte for byte. `exists` tells whether a source's file is there.
ImportPlan plan_import(const Songlist& songlist, const SourceRead& read, const std::string& source_name,
                       const RatingRule& rule, const FileExists& exists);

// One song an import changed, named by its Directory and File.
struct SongChange {
  std::string directory, file;
  bool added = false;
  std::string score_before, score_after;  // score_before empty when added
  std::string last_played_before, last_played_after;
  int row_before = 0;  // its row before the import; 0 when added
  int row_after = 0;   // after the recompute; 0 before the import is applied
};

struct ImportOutcome {
  std::vector<SongChange> changes;  // in the plan's order
  std::size_t added = 0, updated = 0;
  std::size_t not_chosen = 0;  // rated, but outside the choice
  std::size_t unchanged = 0;   // chosen, but already so
  // Outside the choice, yet played later in the source: only Last Played changes.
  std::size_t played_later = 0;
  std::size_t skipped(const ImportPlan& plan) const;
};

// What applying the plan would change, without changing anything.
ImportOutcome outcome_of(const ImportPlan& plan, ImportChoice choice);

// Applies the plan to the list it was made from as one step: new rows, then
// scores and Last Played, then one recompute and, when anything changed, one
// save through `files`.
ImportOutcome apply_import(Songlist& songlist, SonglistFiles& files, const ImportPlan& plan, ImportChoice choice);

// "Imported N ratings: A added, U updated, S skipped (...)", and "Last
// Played taken for P songs not chosen." when there are such; a dry run says
// "Would import" and "would be taken" instead.
std::string summary_line(const ImportPlan& plan, const ImportOutcome& outcome, bool dry_run = false);
// One line per change, for a dry run: "+ PATH: new, score 8",
// "~ PATH: score 0 -> 8, Last Played 00:00 1/1/71 -> 14:05 6/12/24".
std::vector<std::string> change_lines(const ImportOutcome& outcome);

}  // namespace jukora
