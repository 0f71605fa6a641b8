// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/mode_menu.h"

#include <QAction>
#include <QPoint>
#include <tuple>
#include <utility>

namespace jukora {

namespace {

// Captions are the user's text: a "&" in a songlist's name is no shortcut.
QString shown(const QString& caption) {
  QString text = caption;
  return text.replace('&', "&&");
}

constexpr std::pair<const char*, PlayChoice> kCountItems[] = {
    {"All", kCycleAll}, {"Top 20", kCycleTop20}, {"Playlist All", kPlaylistAll}, {"Playlist Top 20", kPlaylistTop20}};

}  // namespace

template <class Intent>
QAction* ModeMenu::add(QMenu* menu, const char* caption, const std::function<void(Intent)>& handler, Intent intent) {
  QAction* action = menu->addAction(shown(caption));
  runs_[action] = [&handler, intent] {
    if (handler) handler(intent);
  };
  return action;
}

QAction* ModeMenu::add(QMenu* menu, const char* caption, const std::function<void()>& handler) {
  QAction* action = menu->addAction(shown(caption));
  runs_[action] = [&handler] {
    if (handler) handler();
  };
  return action;
}

QMenu* ModeMenu::add_submenu(const char* name, const char* caption) {
  QMenu* submenu = menu_->addMenu(shown(caption));
  submenu->setObjectName(name);
  return submenu;
}

ModeMenu::ModeMenu(ModeMenuHandlers handlers) : handlers_(std::move(handlers)), menu_(std::make_unique<QMenu>()) {
  menu_->setObjectName("mnuBase");
  QMenu* random = add_submenu("mnuRandom", "Random");
  add(random, "All", handlers_.random, Scope::kAll);
  add(random, "Top 20", handlers_.random, Scope::kTop20);
  QMenu* countdown = add_submenu("mnuDescending", "Countdown");
  for (const auto& [caption, choice] : kCountItems) add(countdown, caption, handlers_.countdown, choice);
  QMenu* countup = add_submenu("mnuAscending", "Countup");
  for (const auto& [caption, choice] : kCountItems) add(countup, caption, handlers_.countup, choice);
  QMenu* songlist = add_submenu("mnuSonglist", "Songlist ()");
  add(songlist, "New", handlers_.songlist, SonglistCommand::kNew);
  add(songlist, "Save As", handlers_.songlist, SonglistCommand::kSaveAs);
  add(songlist, "Open", handlers_.songlist, SonglistCommand::kOpen);
  songlist_item_ = songlist->menuAction();
  add(menu_.get(), "Add Files", handlers_.add_files);
  add(menu_.get(), "Import Ratings…", handlers_.import_ratings);
  menu_->addSeparator();
  undo_item_ = add(menu_.get(), "Undo", handlers_.undo);
  redo_item_ = add(menu_.get(), "Redo", handlers_.redo);
  set_undo_steps({}, {});
  add(menu_.get(), "Show Playing", handlers_.show_playing)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
  history_item_ = add(menu_.get(), "History…", handlers_.history);
  add(menu_.get(), "Statistics", handlers_.statistics);
  menu_->addSeparator();
  add(menu_.get(), "Preferences", handlers_.preferences);
  stop_item_ = add(menu_.get(), "Stop Winamp", handlers_.stop_player);
  add(menu_.get(), "Exit", handlers_.exit);
}

ModeMenu::~ModeMenu() = default;

void ModeMenu::set_songlist_caption(const QString& caption) { songlist_item_->setText(shown(caption)); }

void ModeMenu::set_stop_caption(const QString& caption) { stop_item_->setText(shown(caption)); }

void ModeMenu::set_undo_steps(const QString& undo, const QString& redo) {
  for (auto [item, word, step] : {std::tuple(undo_item_, "Undo", undo), std::tuple(redo_item_, "Redo", redo)}) {
    item->setText(step.isEmpty() ? QString(word) : shown(QString(word) + ' ' + step));
    item->setEnabled(!step.isEmpty());
  }
}

void ModeMenu::set_history_enabled(bool enabled) { history_item_->setEnabled(enabled); }

void ModeMenu::show_mode_menu(const QPoint& at) {
  if (QAction* chosen = menu_->exec(at)) run(*chosen);
}

void ModeMenu::run(const QAction& action) const {
  if (auto found = runs_.find(&action); found != runs_.end()) found->second();
}

}  // namespace jukora
