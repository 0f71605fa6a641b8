// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/import_without_window.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "ratings/import_command.h"
#include "shell/qt_settings_store.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// Boxes are kept for the end, passing words go to the terminal at once.
class TerminalDesktop : public HeadlessDesktop {
 public:
  void message_box(const std::string& text) override { problems.push_back(text); }
  void notify(const std::string& text) override { std::fprintf(stderr, "jukora: %s\n", text.c_str()); }

  std::vector<std::string> problems;
};

void print(std::FILE* to, const std::string& text) { std::fwrite(text.data(), 1, text.size(), to); }

}  // namespace

int import_ratings_without_window(const CommandCall& call, const AppFolders& folders) {
  QtSettingsStore settings;
  TerminalDesktop desktop;
  DialogMemory dialog;
  Songlist songlist;
  SonglistFiles files(songlist, settings, desktop, folders, dialog);
  files.read_songlist();
  // A list that could not be read is never saved over: nothing to import into.
  if (!desktop.problems.empty()) {
    print(stderr, desktop.problems.front() + "\nNothing was imported.\n");
    return 1;
  }
  const ImportCommandResult result = import_ratings_command(songlist, files, settings, call.argument, call.option);
  print(result.exit_code == 0 ? stdout : stderr, result_text(result));
  if (desktop.problems.empty()) return result.exit_code;
  // The save failed: the changes end with this process.
  for (const std::string& problem : desktop.problems) print(stderr, problem + "\n");
  print(stderr, "The import was not saved.\n");
  return 1;
}

}  // namespace jukora
