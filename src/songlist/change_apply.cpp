// SPDX-License-Identifier: GPL-3.0-or-later
// Applying a SonglistChange to the rows, recording each song's row before
// and after.
#include <algorithm>
#include <type_traits>

#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"

namespace jukora {

namespace {

SongState state_at(const Songlist& songlist, int row) {
  if (row < 1) return {};
  return {true, songlist.score(row), songlist.last_played(row), row};
}

void append(Songlist& songlist, const SongRef& song, const Score& score, const LastPlayed& last_played) {
  songlist.add_song(song.directory, song.file, score, last_played);
}

// A song joining the list holds no Score and no Last Played until the
// recompute makes them 0 and never played.
const Score kNoScore = Score::read("");
const LastPlayed kNoDate = LastPlayed::read("", 2000);

// Once the last row has gone, a list keeps its blank placeholder row.
void keep_a_row(Songlist& songlist, bool had_rows) {
  if (had_rows && songlist.Rows() == 1) songlist.add_cells({""});
}

const std::vector<SongRef>& songs_of(const ScoreStep& step) { return step.songs; }
const std::vector<SongRef>& songs_of(const Deletion& deletion) { return deletion.songs; }
const std::vector<SongRef>& songs_of(const Addition& addition) { return addition.songs; }
const std::vector<SongRef>& songs_of(const Restore& restore) { return restore.songs; }
std::vector<SongRef> songs_of(const Import& import) {
  std::vector<SongRef> songs;
  for (const ImportTarget& target : import.targets) songs.push_back(target.song);
  return songs;
}

// Each kind's work on the rows, given the row of each of its songs.
class Work {
 public:
  Work(Songlist& songlist, const std::vector<int>& rows, ChangeRecord& record)
      : songlist_(songlist), rows_(rows), record_(record) {}

  void operator()(const ScoreStep& step) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i] == 0) {
        ++record_.missing;
        continue;
      }
      songlist_.set_score(rows_[i], songlist_.score(rows_[i]).stepped(step.step));
    }
  }

  void operator()(const Deletion&) {
    const bool had_rows = songlist_.Rows() > 1;
    for (int row : rows_) record_.missing += row == 0;
    songlist_.remove_rows(rows_);
    keep_a_row(songlist_, had_rows);
  }

  void operator()(const Addition& addition) {
    if (addition.select_new) songlist_.SetRow(0);
    for (const SongRef& song : addition.songs) {
      // A song met twice in one addition joins once.
      if (song.directory.empty() || songlist_.contains(song.directory, song.file)) continue;
      append(songlist_, song, kNoScore, kNoDate);
      if (addition.select_new) songlist_.SetRow(songlist_.Rows() - 1);
    }
  }

  void operator()(const Import& import) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const ImportTarget& target = import.targets[i];
      const int row = rows_[i];
      if (row == 0) {
        if (!target.add_if_missing || target.song.directory.empty()) {
          ++record_.missing;
        } else if (!songlist_.contains(target.song.directory, target.song.file)) {
          append(songlist_, target.song, target.score.value_or(kNoScore), target.last_played.value_or(kNoDate));
        }
        continue;
      }
      if (target.score) songlist_.set_score(row, *target.score);
      if (target.last_played && target.last_played->later_than(songlist_.last_played(row)))
        songlist_.set_last_played(row, *target.last_played);
    }
  }

  void operator()(const Restore& restore) {
    const bool had_rows = songlist_.Rows() > 1;
    std::vector<int> gone;
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (!state_at(songlist_, rows_[i]).same_row_as(restore.from[i])) {
        ++record_.changed_since;
        continue;
      }
      const SongState& to = restore.to[i];
      if (!to.present) {
        if (rows_[i] != 0) gone.push_back(rows_[i]);
        continue;
      }
      if (rows_[i] == 0) {
        append(songlist_, restore.songs[i], to.score, to.last_played);
      } else {
        songlist_.set_score(rows_[i], to.score);
        songlist_.set_last_played(rows_[i], to.last_played);
      }
      placed.push_back(i);
    }
    songlist_.remove_rows(gone);
    keep_a_row(songlist_, had_rows);
    // Back to where each song stood, so that equal scores keep their order.
    std::vector<SongRef> songs;
    for (std::size_t i : placed) songs.push_back(restore.songs[i]);
    const std::vector<int> now = songlist_.rows_of(songs);
    std::vector<std::pair<int, int>> moves;
    for (std::size_t k = 0; k < placed.size(); ++k)
      if (now[k] != 0) moves.emplace_back(now[k], restore.to[placed[k]].position);
    songlist_.place_rows(moves);
  }

 private:
  Songlist& songlist_;
  const std::vector<int>& rows_;
  ChangeRecord& record_;
};

void follow(Songlist& songlist, const Follow& follow, bool read_afresh) {
  const int last = songlist.Rows() - 1;
  const int from = std::min(follow.from, last);
  int hit = 0;
  if (from >= 1) hit = songlist.find(follow.song.directory, follow.song.file, from, follow.step > 0 ? 1 : last);
  if (hit == 0 && read_afresh) hit = songlist.rows_of(std::span<const SongRef>(&follow.song, 1))[0];
  if (hit != 0) songlist.SetRow(hit);
}

// Where a row found by song, else its old index, stands in the list now.
int row_of(const Songlist& songlist, const SongRef& song, int row) {
  if (row >= 1 && (!song.directory.empty() || !song.file.empty())) {
    const std::vector<int> found = songlist.rows_of(std::span<const SongRef>(&song, 1));
    if (found[0] != 0) return found[0];
  }
  return std::clamp(row, 0, songlist.Rows() - 1);
}

}  // namespace

Selection selection_of(const Songlist& songlist) {
  return {songlist.Row(), songlist.RowSel(), songlist.song_at(songlist.Row()), songlist.song_at(songlist.RowSel())};
}

void select(Songlist& songlist, const Selection& selection) {
  const int row = row_of(songlist, selection.row_song, selection.row);
  const int row_sel = row_of(songlist, selection.row_sel_song, selection.row_sel);
  songlist.SetRow(row);
  songlist.SetRowSel(row_sel);
}

ChangeRecord apply_change(Songlist& songlist, const SonglistChange& change, bool read_afresh) {
  ChangeRecord record;
  record.selection_before = selection_of(songlist);
  const std::vector<SongRef> songs =
      std::visit([](const auto& what) -> std::vector<SongRef> { return songs_of(what); }, change.what);
  const std::vector<int> rows = songlist.rows_of(songs);
  std::vector<SongState> before;
  before.reserve(rows.size());
  for (int row : rows) before.push_back(state_at(songlist, row));

  std::visit(Work(songlist, rows, record), change.what);
  recompute_songlist(songlist);
  if (const Restore* restore = std::get_if<Restore>(&change.what)) select(songlist, restore->selection);
  // The recompute keeps row numbers; after an import the selection keeps its songs.
  if (std::holds_alternative<Import>(change.what)) select(songlist, record.selection_before);
  if (change.follow) follow(songlist, *change.follow, read_afresh);
  if (std::holds_alternative<Deletion>(change.what)) songlist.SetCol(col::kNumber);
  if (const Addition* added = std::get_if<Addition>(&change.what); added && added->select_new)
    songlist.SetRow(std::min(songlist.Row(), songlist.Rows() - 1));

  const std::vector<int> after = songlist.rows_of(songs);
  for (std::size_t i = 0; i < songs.size(); ++i) {
    SongState now = state_at(songlist, after[i]);
    if (before[i].same_row_as(now)) continue;
    record.songs.push_back(songs[i]);
    record.before.push_back(std::move(before[i]));
    record.after.push_back(std::move(now));
  }
  record.selection_after = selection_of(songlist);
  return record;
}

}  // namespace jukora
