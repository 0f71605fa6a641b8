// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/import_plan.h"

#include <ctime>
#include <optional>
#include <unordered_map>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/local_path.h"
#include "songlist/date_text.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// A song as the list's index knows it: either spelling of a drive root is
// one folder. The length first, so that no two pairs give one key.
std::string song_key(std::string_view directory, std::string_view file) {
  const std::string_view folder = folder_key(directory);
  std::string key = std::to_string(folder.size());
  key += ':';
  key += folder;
  key += file;
  return key;
}

// The first row of each song, as every lookup of the list finds it.
std::unordered_map<std::string, int> rows_by_song(const Songlist& songlist) {
  std::unordered_map<std::string, int> rows;
  rows.reserve(static_cast<std::size_t>(songlist.Rows()));
  for (int i = 1; i < songlist.Rows(); ++i) rows.emplace(song_key(songlist.directory(i), songlist.file(i)), i);
  return rows;
}

std::optional<DateTime> local_time(std::int64_t unix_seconds) {
  const auto t = static_cast<std::time_t>(unix_seconds);
  std::tm tm{};
#ifdef _WIN32
  if (localtime_s(&tm, &t) != 0) return {};
#else
  if (!localtime_r(&t, &tm)) return {};
#endif
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, 0};
}

// Whether `when` lies in a later minute than the list's Last Played, which
// holds minutes; a text that is no date counts as never played.
bool later_than(const DateTime& when, const LastPlayed& listed) {
  if (!listed.is_date()) return true;
  auto minutes = [](const DateTime& d) { return std::tuple(d.year, d.month, d.day, d.hour, d.minute); };
  return minutes(when) > minutes(listed.when());
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool ImportPlan::applies_to(const PlannedSong& song, ImportChoice choice) const {
  switch (choice) {
    case ImportChoice::kNewSongs:
      return !song.listed;
    case ImportChoice::kUntouchedSongs:
      return !song.listed || song.untouched;
    case ImportChoice::kAllMatched:
      return true;
  }
  return false;
}

ImportPlan plan_import(const Songlist& songlist, const SourceRead& read, const std::string& source_name,
                       const RatingRule& rule, const FileExists& exists) {
  ImportPlan plan;
  plan.source_name = source_name;
  plan.not_local = read.not_local;
  const std::unordered_map<std::string, int> rows = rows_by_song(songlist);
  std::unordered_map<std::string, bool> planned;
  for (const SourceSong& entry : read.songs) {
    if (entry.rating.kind == ReadRating::Kind::kUnrated) {
      ++plan.unrated;
      continue;
    }
    if (entry.rating.kind == ReadRating::Kind::kImpossible) {
      ++plan.impossible;
      continue;
    }
    if (!is_local_file_path(entry.path)) {
      ++plan.not_local;
      continue;
    }
    PlannedSong song;
    song.directory = song_directory(entry.path);
    song.file = get_file_name(entry.path);
    const std::string key = song_key(song.directory, song.file);
    if (!planned.emplace(key, true).second) {
      ++plan.repeated;
      continue;
    }
    if (!exists(entry.path)) {
      ++plan.missing;
      continue;
    }
    LastPlayed last_played;
    if (auto row = rows.find(key); row != rows.end()) {
      song.listed = true;
      song.row = row->second;
      const Score score = songlist.score(song.row);
      last_played = songlist.last_played(song.row);
      song.score_now = score.text();
      song.last_played_now = last_played.text();
      song.untouched = score.sort_value() == 0 && (!last_played.is_date() || last_played.never_played());
    }
    song.half_stars = entry.rating.half_stars;
    song.score_after = rule.score_of(song.half_stars);
    if (entry.last_played && *entry.last_played > 0)
      if (std::optional<DateTime> when = local_time(*entry.last_played);
          when && (!song.listed || later_than(*when, last_played)))
        song.last_played_after = format_date_text(*when);
    plan.songs.push_back(std::move(song));
  }
  return plan;
}

std::size_t ImportOutcome::skipped(const ImportPlan& plan) const {
  return plan.unrated + plan.missing + plan.impossible + plan.not_local + plan.repeated + not_chosen + unchanged;
}

ImportOutcome outcome_of(const ImportPlan& plan, ImportChoice choice) {
  ImportOutcome outcome;
  for (const PlannedSong& song : plan.songs) {
    const bool chosen = plan.applies_to(song, choice);
    SongChange change{song.directory,
                      song.file,
                      !song.listed,
                      song.score_now,
                      chosen ? std::to_string(song.score_after) : song.score_now,
                      song.last_played_now,
                      song.last_played_now,
                      song.row};
    if (!song.last_played_after.empty()) change.last_played_after = song.last_played_after;
    if (!chosen) {
      ++outcome.not_chosen;
      if (change.last_played_after == change.last_played_before) continue;
      ++outcome.played_later;
      outcome.changes.push_back(std::move(change));
      continue;
    }
    if (song.listed && change.score_after == change.score_before &&
        change.last_played_after == change.last_played_before) {
      ++outcome.unchanged;
      continue;
    }
    ++(change.added ? outcome.added : outcome.updated);
    outcome.changes.push_back(std::move(change));
  }
  return outcome;
}

ImportOutcome apply_import(Songlist& songlist, SonglistFiles& files, const ImportPlan& plan, ImportChoice choice) {
  ImportOutcome outcome = outcome_of(plan, choice);
  if (outcome.changes.empty()) return outcome;
  // One change for the whole import, so that one Undo takes it back.
  std::vector<ImportTarget> targets;
  targets.reserve(outcome.changes.size());
  for (const SongChange& change : outcome.changes) {
    ImportTarget target{{change.directory, change.file}, std::nullopt, std::nullopt, change.added};
    if (change.added || change.score_after != change.score_before) target.score = Score::read(change.score_after);
    if (!change.last_played_after.empty() && change.last_played_after != change.last_played_before)
      target.last_played = LastPlayed::read(change.last_played_after);
    targets.push_back(std::move(target));
  }
  files.apply(import_change(std::move(targets)));
  const std::unordered_map<std::string, int> rows = rows_by_song(songlist);
  for (SongChange& change : outcome.changes) {
    auto row = rows.find(song_key(change.directory, change.file));
    change.row_after = row == rows.end() ? 0 : row->second;
    // A new song never played reads as never played after the recompute.
    if (change.added && change.row_after != 0) change.last_played_after = songlist.last_played(change.row_after).text();
  }
  return outcome;
}

std::string summary_line(const ImportPlan& plan, const ImportOutcome& outcome, bool dry_run) {
  const std::size_t imported = outcome.added + outcome.updated;
  std::string line = std::string(dry_run ? "Would import " : "Imported ") + plural(imported, "rating", "ratings") +
                     ": " + std::to_string(outcome.added) + " added, " + std::to_string(outcome.updated) +
                     " updated, " + std::to_string(outcome.skipped(plan)) + " skipped";
  std::vector<std::string> why;
  auto reason = [&why](std::size_t n, const char* one, const char* many) {
    if (n) why.push_back(plural(n, one, many));
  };
  reason(plan.unrated, "unrated", "unrated");
  reason(plan.missing, "missing file", "missing files");
  reason(outcome.not_chosen, "not chosen", "not chosen");
  reason(outcome.unchanged, "already so", "already so");
  reason(plan.impossible, "impossible value", "impossible values");
  reason(plan.not_local, "not a local file", "not local files");
  reason(plan.repeated, "listed twice in the source", "listed twice in the source");
  if (!why.empty()) {
    line += " (";
    for (std::size_t i = 0; i < why.size(); ++i) line += (i ? ", " : "") + why[i];
    line += ")";
  }
  line += ".";
  if (outcome.played_later)
    line += " The source's later Last Played " + std::string(dry_run ? "would be" : "was") + " taken for " +
            plural(outcome.played_later, "song", "songs") + " not chosen.";
  return line;
}

std::vector<std::string> change_lines(const ImportOutcome& outcome) {
  std::vector<std::string> lines;
  for (const SongChange& change : outcome.changes) {
    const std::string path = join_path(change.directory, change.file);
    if (change.added) {
      lines.push_back("+ " + path + ": new, score " + change.score_after);
      continue;
    }
    std::string line = "~ " + path + ":";
    if (change.score_after != change.score_before)
      line += " score " + change.score_before + " -> " + change.score_after;
    if (change.last_played_after != change.last_played_before)
      line += std::string(line.back() == ':' ? "" : ",") + " Last Played " + change.last_played_before + " -> " +
              change.last_played_after;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace jukora
