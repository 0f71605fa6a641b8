// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/mode_menu.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
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

// Countdown and Countup offer the same items; the submenu gives the order.
constexpr std::pair<const char*, PlayChoice> kCountItems[] = {
    {"All", {.scope = Scope::kAll}},
    {"Top 20", {.scope = Scope::kTop20}},
    {"Playlist All", {.scope = Scope::kAll, .playlist = true}},
    {"Playlist Top 20", {.scope = Scope::kTop20, .playlist = true}}};

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

QMenu* ModeMenu::add_submenu(const char* caption) { return menu_->addMenu(shown(caption)); }

ModeMenu::ModeMenu(ModeMenuHandlers handlers) : handlers_(std::move(handlers)), menu_(std::make_unique<QMenu>()) {
  random_ = add_submenu("Random");
  add(random_, "All", handlers_.random, Scope::kAll);
  add(random_, "Top 20", handlers_.random, Scope::kTop20);
  countdown_ = add_submenu("Countdown");
  for (const auto& [caption, choice] : kCountItems) add(countdown_, caption, handlers_.countdown, choice);
  countup_ = add_submenu("Countup");
  for (const auto& [caption, choice] : kCountItems) add(countup_, caption, handlers_.countup, choice);
  songlist_ = add_submenu("Songlist ()");
  add(songlist_, "New", handlers_.songlist, SonglistCommand::kNew);
  add(songlist_, "Save As", handlers_.songlist, SonglistCommand::kSaveAs);
  add(songlist_, "Open", handlers_.songlist, SonglistCommand::kOpen);
  songlist_item_ = songlist_->menuAction();
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
  // A long song name would widen the whole menu: the step is cut in its
  // middle, so that what is done and the name's ending still show.
  const QFontMetrics metrics(menu_->font());
  const int width = metrics.averageCharWidth() * kStepChars;
  for (auto [item, word, step] : {std::tuple(undo_item_, "Undo", undo), std::tuple(redo_item_, "Redo", redo)}) {
    item->setText(step.isEmpty() ? QString(word)
                                 : shown(QString(word) + ' ' + metrics.elidedText(step, Qt::ElideMiddle, width)));
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
