// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/import_command.h"

#include "platform/files.h"
#include "ratings/background_read.h"
#include "ratings/open_source.h"

namespace jukora {

ImportCommandResult import_ratings_command(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                           const std::string& source_argument, bool dry_run) {
  ImportCommandResult result;
  OpenedSource opened = open_source(choose_source(source_argument), settings);
  if (!opened.source) {
    result.exit_code = 1;
    result.lines.push_back(opened.problem);
    return result;
  }
  BackgroundRead reading(opened.source);
  const SourceRead read = reading.wait();
  if (read.status != SourceRead::Status::kOk) {
    result.exit_code = 1;
    result.lines.push_back(read.error.empty() ? "The import was stopped; nothing was changed." : read.error);
    return result;
  }
  const ImportPlan plan = plan_import(songlist, read, opened.source->name(), read_rating_rule(settings),
                                      [](const std::string& path) { return is_file(path); });
  if (dry_run) {
    result.outcome = outcome_of(plan, kCommandLineChoice);
    result.lines = change_lines(result.outcome);
  } else {
    result.outcome = apply_import(songlist, files, plan, kCommandLineChoice);
  }
  result.lines.push_back(summary_line(plan, result.outcome, dry_run));
  return result;
}

}  // namespace jukora
