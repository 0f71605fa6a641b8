// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/mode_menu.h"

#include <QAction>
#include <QPoint>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <utility>

#include "shell/local_text.h"

namespace jukora {

namespace {

// Captions are the user's text: a "&" in a songlist's name is no shortcut.
QString shown(const QString& caption) {
  QString text = caption;
  return text.replace('&', "&&");
}

QString q(std::string_view text) { return qt_text(text); }

// The group and the item's key ride on the action, so that dispatch reads
// what the user chose and depends neither on the item's position nor on the
// words it shows.
void tag(QAction* action, std::string_view group, const QString& key, const QString& caption) {
  action->setText(shown(caption));
  action->setData(QStringList{q(group), key});
}

void tag(QAction* action, std::string_view group, const QString& caption) { tag(action, group, caption, caption); }

QAction* add_item(QMenu* menu, std::string_view group, const char* caption) {
  QAction* action = menu->addAction(QString());
  tag(action, group, q(caption));
  return action;
}

QMenu* add_submenu(QMenu* menu, std::string_view group, const char* caption, std::initializer_list<const char*> items) {
  QMenu* submenu = menu->addMenu(QString());
  submenu->setObjectName(q(group));
  tag(submenu->menuAction(), menu_group::kPopup, q(caption));
  for (const char* item : items) add_item(submenu, group, item);
  return submenu;
}

void call(const std::function<void()>& handler) {
  if (handler) handler();
}

void call(const std::function<void(std::string_view)>& handler, std::string_view caption) {
  if (handler) handler(caption);
}

}  // namespace

void dispatch_mode_menu(std::string_view group, std::string_view item, const ModeMenuHandlers& handlers) {
  if (group == menu_group::kRandom) {
    call(handlers.random, item);
  } else if (group == menu_group::kDescending) {
    call(handlers.countdown, item);
  } else if (group == menu_group::kAscending) {
    call(handlers.countup, item);
  } else if (group == menu_group::kSonglist) {
    call(handlers.songlist, item);
  } else if (group == menu_group::kPopup) {
    if (item == "Add Files") {
      call(handlers.add_files);
    } else if (item == "Preferences") {
      call(handlers.preferences);
    } else if (item == "Stop Winamp") {
      call(handlers.stop_winamp);
    } else if (item == "Exit") {
      call(handlers.exit);
    }
  }
}

ModeMenu::ModeMenu(ModeMenuHandlers handlers) : handlers_(std::move(handlers)), menu_(std::make_unique<QMenu>()) {
  menu_->setObjectName("mnuBase");
  add_submenu(menu_.get(), menu_group::kRandom, "Random", {"All", "Top 20"});
  add_submenu(menu_.get(), menu_group::kDescending, "Countdown", {"All", "Top 20", "Playlist All", "Playlist Top 20"});
  add_submenu(menu_.get(), menu_group::kAscending, "Countup", {"All", "Top 20", "Playlist All", "Playlist Top 20"});
  songlist_item_ =
      add_submenu(menu_.get(), menu_group::kSonglist, "Songlist ()", {"New", "Save As", "Open"})->menuAction();
  for (const char* caption : {"Add Files", "Preferences", "Stop Winamp", "Exit"}) {
    QAction* item = add_item(menu_.get(), menu_group::kPopup, caption);
    if (std::string_view(caption) == "Stop Winamp") stop_item_ = item;
  }
}

ModeMenu::~ModeMenu() = default;

void ModeMenu::set_songlist_caption(const QString& caption) { tag(songlist_item_, menu_group::kPopup, caption); }

void ModeMenu::set_stop_caption(const QString& caption) {
  tag(stop_item_, menu_group::kPopup, QStringLiteral("Stop Winamp"), caption);
}

void ModeMenu::show_mode_menu(const QPoint& at) {
  if (QAction* chosen = menu_->exec(at)) run(*chosen);
}

void ModeMenu::run(const QAction& action) const {
  QStringList tags = action.data().toStringList();
  if (tags.size() != 2) return;
  std::string group = program_text(tags[0]), item = program_text(tags[1]);
  dispatch_mode_menu(group, item, handlers_);
}

}  // namespace jukora
