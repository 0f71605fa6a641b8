// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/import_command.h"

#include "platform/files.h"
#include "ratings/background_read.h"

namespace jukora {

ImportCommandResult import_ratings_command(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                           const std::string& source_argument, bool dry_run,
                                           const std::function<void(const std::string&)>& tell) {
  OpenedSource opened = open_command_source(source_argument, settings);
  if (!opened.source) return {1, {opened.problem}, {}};
  BackgroundRead reading(opened.source);
  const SourceRead read = reading.wait(tell);
  return finish_import_command(songlist, files, settings, opened.source->name(), read, dry_run);
}

OpenedSource open_command_source(const std::string& source_argument, const SettingsStore& settings) {
  return open_source(choose_source(source_argument), settings);
}

ImportCommandResult finish_import_command(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                          const std::string& source_name, const SourceRead& read, bool dry_run) {
  ImportCommandResult result;
  if (read.status != SourceRead::Status::kOk) {
    result.exit_code = 1;
    result.lines.push_back(read.error.empty() ? "The import was stopped; nothing was changed." : read.error);
    return result;
  }
  const ImportPlan plan = plan_import(songlist, read, source_name, read_rating_rule(settings),
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

std::string result_text(const ImportCommandResult& result) {
  std::string text;
  for (const std::string& line : result.lines) text += line + "\n";
  return text;
}

}  // namespace jukora
