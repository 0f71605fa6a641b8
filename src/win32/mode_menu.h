// SPDX-License-Identifier: GPL-3.0-or-later
// The mode menu, the program's one menu: a hidden top-level menu of the main
// window (mnuBase), shown only as a popup at the mouse, from the tray and the
// grid. Its items, in order: Random, Countdown and Countup with their
// submenus, "Songlist (name)" with New, Save As and Open, Add Files,
// Preferences, Stop Winamp and Exit; then Undo, Redo and Show Playing. Each
// item's id maps to what it asks for in one table; no caption is read.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "playmodes/play_choice.h"
#include "songlist/songlist_files.h"

namespace jukora {

// What the items ask for, by name.
struct ModeMenuIntents {
  std::function<void(Scope)> random;
  std::function<void(PlayChoice)> countdown;
  std::function<void(PlayChoice)> countup;
  std::function<void(SonglistCommand)> songlist;
  std::function<void()> add_files;
  std::function<void()> preferences;
  std::function<void()> stop_player;
  std::function<void()> exit;
  std::function<void()> undo;
  std::function<void()> redo;
  std::function<void()> show_playing;
};

// The items' ids.
enum ModeMenuId : UINT {
  kMenuRandomAll = 1001,
  kMenuRandomTop20,
  kMenuCountdownAll,
  kMenuCountdownTop20,
  kMenuCountdownPlaylistAll,
  kMenuCountdownPlaylistTop20,
  kMenuCountupAll,
  kMenuCountupTop20,
  kMenuCountupPlaylistAll,
  kMenuCountupPlaylistTop20,
  kMenuSonglistNew,
  kMenuSonglistSaveAs,
  kMenuSonglistOpen,
  kMenuAddFiles,
  kMenuPreferences,
  kMenuStopPlayer,
  kMenuExit,
  kMenuUndo,
  kMenuRedo,
  kMenuShowPlaying,
};

// Runs what item `id` asks for; false when no item has that id (a submenu's
// own entry, or a closed menu).
bool run_mode_menu_item(UINT id, const ModeMenuIntents& intents);

// A letter typed in an open menu (WM_MENUCHAR): the captions carry no
// underlined letters, so the next item whose caption begins with it is
// highlighted, and chosen when it is the only one.
LRESULT menu_char(HMENU menu, wchar_t typed);

class ModeMenu {
 public:
  ModeMenu();
  ~ModeMenu();
  ModeMenu(const ModeMenu&) = delete;
  ModeMenu& operator=(const ModeMenu&) = delete;

  // "Songlist (name)", in full.
  void set_songlist_caption(const std::string& caption);
  // The Stop item names the player.
  void set_stop_caption(const std::string& caption);
  // Undo and Redo name the step each would take ("Undo Increment of b.mp3"),
  // a long one cut to about kStepChars characters, and are greyed when there
  // is none (an empty name).
  void set_undo_steps(const std::string& undo, const std::string& redo);

  // Greys an item out, or offers it again.
  void enable(UINT id, bool enabled);

  // Opens at `at` (screen pixels) for `owner`; the chosen item's id once the
  // menu has closed, 0 for none.
  UINT show_mode_menu(HWND owner, POINT at);

  // The popup that mnuBase holds.
  HMENU popup() const { return popup_; }

 private:
  void set_caption(UINT id, std::wstring_view caption, bool enabled = true);

  HMENU base_;   // mnuBase: never given to a window, so no menu bar shows
  HMENU popup_;  // its one item's submenu, the mode menu itself
};

}  // namespace jukora
