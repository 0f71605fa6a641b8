// SPDX-License-Identifier: GPL-3.0-or-later
// The mode menu, the program's one menu, shown only as a popup from the tray
// and the grid: play cycles, playlist exports, songlist files, Add Files,
// Preferences, Stop Winamp and Exit. Items are told apart by a fixed key, the
// caption each has always had ("Stop Winamp"), whatever it shows now ("Stop
// mpv" on Linux).
#pragma once

#include <QMenu>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>

class QAction;
class QPoint;

namespace jukora {

// The item groups: the top level and the four submenus.
namespace menu_group {
inline constexpr std::string_view kPopup = "mnuPopup";
inline constexpr std::string_view kRandom = "mnuRandom";
inline constexpr std::string_view kDescending = "mnuDescending";
inline constexpr std::string_view kAscending = "mnuAscending";
inline constexpr std::string_view kSonglist = "mnuSonglist";
}  // namespace menu_group

struct ModeMenuHandlers {
  // The submenus' items, each told its caption ("All", "Top 20", "Playlist
  // All", "Playlist Top 20"; "New", "Save As", "Open").
  std::function<void(std::string_view)> random;
  std::function<void(std::string_view)> countdown;
  std::function<void(std::string_view)> countup;
  std::function<void(std::string_view)> songlist;
  // The top-level items without a submenu.
  std::function<void()> add_files;
  std::function<void()> preferences;
  std::function<void()> stop_winamp;
  std::function<void()> exit;
};

// Runs the handler for the item of `group` whose key is `item`. A key no
// handler acts on, such as a submenu's own entry, does nothing.
void dispatch_mode_menu(std::string_view group, std::string_view item, const ModeMenuHandlers& handlers);

class ModeMenu {
 public:
  // Without a parent widget: it pops up on its own, from the tray as from the grid.
  explicit ModeMenu(ModeMenuHandlers handlers);
  ~ModeMenu();

  QMenu& menu() { return *menu_; }

  // The Songlist item's caption, "Songlist (name)".
  void set_songlist_caption(const QString& caption);
  // The Stop item's caption, which names the player in use.
  void set_stop_caption(const QString& caption);

  // Opens at `at` and returns once the menu has closed and the chosen
  // item's handler has run.
  void show_mode_menu(const QPoint& at);

  // The handler of one of the menu's items.
  void run(const QAction& action) const;

 private:
  ModeMenuHandlers handlers_;
  std::unique_ptr<QMenu> menu_;
  QAction* songlist_item_ = nullptr;
  QAction* stop_item_ = nullptr;
};

}  // namespace jukora
