// SPDX-License-Identifier: GPL-3.0-or-later
// The mode menu, the program's one menu, shown only as a popup from the tray
// and the grid: play cycles, playlist exports, songlist files, Add Files,
// Import Ratings, Undo and Redo, Show Playing, a song's history, the
// Statistics, Preferences, the Stop item and Exit. Each item is bound to its
// handler by name when the menu is built, so its caption may change ("Stop
// Winamp", "Stop mpv") without changing what it does.
#pragma once

#include <QMenu>
#include <QString>
#include <functional>
#include <memory>
#include <unordered_map>

#include "playmodes/play_choice.h"
#include "session/step_label.h"
#include "songlist/songlist_files.h"

class QAction;
class QPoint;

namespace jukora {

struct ModeMenuHandlers {
  // The submenus' items.
  std::function<void(Scope)> random;
  std::function<void(PlayChoice)> countdown;
  std::function<void(PlayChoice)> countup;
  std::function<void(SonglistCommand)> songlist;
  // The top-level items without a submenu.
  std::function<void()> add_files;
  std::function<void()> preferences;
  std::function<void()> stop_player;
  std::function<void()> exit;
  std::function<void()> show_playing;
  // "Import Ratings…", after Add Files.
  std::function<void()> import_ratings;
  // Undo and Redo, after the separator that follows Import Ratings.
  std::function<void()> undo;
  std::function<void()> redo;
  // A song's history and the charts.
  std::function<void()> history;
  std::function<void()> statistics;
};

class ModeMenu {
 public:
  // Without a parent widget: it pops up on its own, from the tray as from the grid.
  explicit ModeMenu(ModeMenuHandlers handlers);
  ~ModeMenu();

  QMenu& menu() { return *menu_; }
  // The submenus.
  QMenu& random() { return *random_; }
  QMenu& countdown() { return *countdown_; }
  QMenu& countup() { return *countup_; }
  QMenu& songlist() { return *songlist_; }

  // The Songlist item's caption, "Songlist (name)".
  void set_songlist_caption(const QString& caption);
  // The Stop item's caption, which names the player in use.
  void set_stop_caption(const QString& caption);
  // Undo and Redo name the step each would take ("Undo Increment of b.mp3"),
  // a long one cut to about kStepChars characters, and are greyed when there
  // is none (an empty name).
  static constexpr int kStepChars = jukora::kStepChars;
  void set_undo_steps(const QString& undo, const QString& redo);
  // "History…" is offered only while the list's current row holds a song.
  void set_history_enabled(bool enabled);

  // Opens at `at` and returns once the menu has closed and the chosen
  // item's handler has run.
  void show_mode_menu(const QPoint& at);

  // The handler of one of the menu's items; a submenu's own entry has none.
  void run(const QAction& action) const;

 private:
  // An item of `menu` that runs `handler` with `intent`.
  template <class Intent>
  QAction* add(QMenu* menu, const char* caption, const std::function<void(Intent)>& handler, Intent intent);
  QAction* add(QMenu* menu, const char* caption, const std::function<void()>& handler);
  QMenu* add_submenu(const char* caption);

  const ModeMenuHandlers handlers_;
  std::unique_ptr<QMenu> menu_;
  std::unordered_map<const QAction*, std::function<void()>> runs_;
  QMenu* random_ = nullptr;
  QMenu* countdown_ = nullptr;
  QMenu* countup_ = nullptr;
  QMenu* songlist_ = nullptr;
  QAction* songlist_item_ = nullptr;
  QAction* stop_item_ = nullptr;
  QAction* undo_item_ = nullptr;
  QAction* redo_item_ = nullptr;
  QAction* history_item_ = nullptr;
};

}  // namespace jukora
