// SPDX-License-Identifier: GPL-3.0-or-later
// `jukora --import-ratings SOURCE [--dry-run]` on the current songlist,
// without a window: the source read to its end, the rule in Preferences, the
// songs new to the list or still untouched (score 0, never played), one save;
// a dry run prints the changes and saves nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ratings/import_plan.h"
#include "ratings/open_source.h"

namespace jukora {

class SettingsStore;
class Songlist;
class SonglistFiles;

// The songs a command-line import applies to: it never overrides a score
// the user gave.
inline constexpr ImportChoice kCommandLineChoice = ImportChoice::kUntouchedSongs;

struct ImportCommandResult {
  int exit_code = 0;               // 0, or 1 when the source could not be read
  std::vector<std::string> lines;  // what to print: the changes of a dry run, then the summary or the error
  ImportOutcome outcome;           // the changes made, for the undo and the score mirrors
};

// `tell` hears at once what holds the read up, once it has for a while.
ImportCommandResult import_ratings_command(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                           const std::string& source_argument, bool dry_run,
                                           const std::function<void(const std::string&)>& tell = {});

// The same in two halves, for a caller that reads the source on a worker
// meanwhile: the source the argument names (with why not, when it cannot be
// read here), and, once read, the rest against the list as it is then.
OpenedSource open_command_source(const std::string& source_argument, const SettingsStore& settings);
ImportCommandResult finish_import_command(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                          const std::string& source_name, const SourceRead& read, bool dry_run);
// What to print of a result: its lines, each ended by a line break.
std::string result_text(const ImportCommandResult& result);

}  // namespace jukora
