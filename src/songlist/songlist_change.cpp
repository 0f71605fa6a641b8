// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist_change.h"

#include <algorithm>
#include <utility>

#include "songlist/chosen_rows.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// "Increment of b.mp3", "Increment of 3 songs".
std::string label_of(const std::string& what, const std::vector<SongRef>& songs) {
  if (songs.size() == 1) return what + " of " + songs.front().file;
  return what + " of " + std::to_string(songs.size()) + " songs";
}

std::string step_word(int step) { return step > 0 ? "Increment" : "Decrement"; }

// A Score's whole value, as a step counts from it.
std::int64_t whole_score(const SongState& state) { return state.present ? state.score.whole() : 0; }

std::vector<SongRef> songs_of_rows(const Songlist& songlist, const std::vector<int>& rows) {
  std::vector<SongRef> songs;
  for (int i : rows)
    if (i >= 1 && i < songlist.Rows()) songs.push_back(songlist.song_at(i));
  return songs;
}

}  // namespace

std::vector<int> row_range(int first, int last) {
  std::vector<int> rows;
  for (int i = first; i <= last; ++i) rows.push_back(i);
  return rows;
}

ChosenRows range_of_selection(const Songlist& songlist) {
  const int row = songlist.Row();
  return {row_range(std::min(row, songlist.RowSel()), std::max(row, songlist.RowSel())), row};
}

SonglistChange score_step_of_rows(const Songlist& songlist, const std::vector<int>& rows, int anchor, int step,
                                  ChangeSource source) {
  std::vector<SongRef> songs = songs_of_rows(songlist, rows);
  std::string label = label_of(step_word(step), songs);
  return {ScoreStep{std::move(songs), step}, source, Follow{songlist.song_at(anchor), anchor, step}, std::move(label)};
}

SonglistChange score_step_of_song(SongRef song, int step, ChangeSource source, int from) {
  std::vector<SongRef> songs{song};
  std::string label = label_of(step_word(step), songs);
  return {ScoreStep{std::move(songs), step}, source, Follow{std::move(song), from, step}, std::move(label)};
}

SonglistChange deletion_of_rows(const Songlist& songlist, const std::vector<int>& rows) {
  std::vector<SongRef> songs = songs_of_rows(songlist, rows);
  std::string label = label_of("Delete", songs);
  return {Deletion{std::move(songs)}, ChangeSource::kWindow, std::nullopt, std::move(label)};
}

SonglistChange addition(std::vector<SongRef> songs, ChangeSource source) {
  std::string label = label_of("Addition", songs);
  return {Addition{std::move(songs)}, source, std::nullopt, std::move(label)};
}

SonglistChange import_change(std::vector<ImportTarget> targets) {
  std::vector<SongRef> songs;
  for (const ImportTarget& target : targets) songs.push_back(target.song);
  std::string label = label_of("Import", songs);
  return {Import{std::move(targets)}, ChangeSource::kImport, std::nullopt, std::move(label)};
}

SonglistChange listening_change(SongRef song, int step) {
  std::string label = "listening score of " + song.file;
  return {ScoreStep{{std::move(song)}, step}, ChangeSource::kListening, std::nullopt, std::move(label)};
}

std::string step_label(const SonglistChange& change, const ChangeRecord& record) {
  if (std::holds_alternative<Addition>(change.what)) return label_of("Addition", record.songs);
  if (std::holds_alternative<Import>(change.what)) return label_of("Import", record.songs);
  return change.label;
}

SonglistChange undo_of(const ChangeRecord& record, const std::string& label) {
  return {Restore{record.songs, record.after, record.before, record.selection_before}, ChangeSource::kUndo,
          std::nullopt, label};
}

SonglistChange redo_of(const ChangeRecord& record, const std::string& label) {
  return {Restore{record.songs, record.before, record.after, record.selection_after}, ChangeSource::kUndo, std::nullopt,
          label};
}

std::vector<ScoreChange> score_changes_of(const SonglistChange& change, const ChangeRecord& record) {
  std::vector<ScoreChange> changes;
  // Rows an undo or redo brings back or takes away keep the scores they had.
  const bool new_rows_count = !std::holds_alternative<Restore>(change.what);
  for (std::size_t i = 0; i < record.songs.size(); ++i) {
    const SongState &before = record.before[i], &after = record.after[i];
    if (!after.present || (!before.present && !new_rows_count)) continue;
    const std::int64_t old_score = whole_score(before), new_score = whole_score(after);
    if (old_score != new_score)
      changes.push_back({record.songs[i].directory, record.songs[i].file, old_score, new_score, change.source});
  }
  return changes;
}

}  // namespace jukora
