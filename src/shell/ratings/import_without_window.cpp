// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/import_without_window.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "history/history_recorder.h"
#include "history/sqlite/sqlite_history.h"
#include "platform/desktop.h"
#include "ratings/import_command.h"
#include "ratings/wait_notice.h"
#include "shell/history/history_keeper.h"
#include "shell/qt_settings_store.h"
#include "songlist/song_events.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// How long the import's history waits for a file another program holds.
constexpr std::chrono::seconds kHistoryPatience{10};

void tell(const std::string& text) { std::fprintf(stderr, "jukora: %s\n", text.c_str()); }

// Boxes are kept for the end, passing words go to the terminal at once.
class TerminalDesktop : public HeadlessDesktop {
 public:
  void message_box(const std::string& text) override { problems.push_back(text); }
  void notify(const std::string& text) override { tell(text); }

  std::vector<std::string> problems;
};

void print(std::FILE* to, const std::string& text) { std::fwrite(text.data(), 1, text.size(), to); }

// The import's entries in the score history, as the window's import makes
// them; a file held by another program is waited for a while, and told of.
void finish_history(SqliteHistory& history) {
  WaitNotice notice;
  const auto give_up = WaitNotice::Clock::now() + kHistoryPatience;
  while (!history.wait_all_committed(WaitNotice::kLookEvery)) {
    if (const std::string told = notice.look(history.waiting_for()); !told.empty()) tell(told);
    if (WaitNotice::Clock::now() >= give_up) {
      tell("The import is saved, but its entries in the score history are not: " + history.waiting_for() + ".");
      return;
    }
  }
}

}  // namespace

int import_ratings_without_window(const CommandCall& call, const AppFolders& folders) {
  QtSettingsStore settings;
  TerminalDesktop desktop;
  Songlist songlist;
  SonglistFiles files(songlist, settings, desktop, folders);
  files.read_songlist();
  // A list that could not be read is never saved over: nothing to import into.
  if (!desktop.problems.empty()) {
    print(stderr, desktop.problems.front() + "\nNothing was imported.\n");
    return 1;
  }
  SongEvents events;
  SqliteHistory history(history_path(folders), tell);
  HistoryRecorder recorder(events, history);
  files.tell_scores_to(events);
  const ImportCommandResult result =
      import_ratings_command(songlist, files, settings, call.argument, call.option, tell);
  print(result.exit_code == 0 ? stdout : stderr, result_text(result));
  finish_history(history);
  if (desktop.problems.empty()) return result.exit_code;
  // The save failed: the changes end with this process.
  for (const std::string& problem : desktop.problems) print(stderr, problem + "\n");
  print(stderr, "The import was not saved.\n");
  return 1;
}

}  // namespace jukora
