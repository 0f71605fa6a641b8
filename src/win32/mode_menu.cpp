// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/mode_menu.h"

#include <algorithm>
#include <vector>

#include "session/step_label.h"
#include "win32/local_text.h"

namespace jukora {

namespace {

struct MenuAction {
  UINT id;
  void (*run)(const ModeMenuIntents&);
};

template <auto Member, auto Value>
void ask(const ModeMenuIntents& intents) {
  if (intents.*Member) (intents.*Member)(Value);
}
template <auto Member>
void ask(const ModeMenuIntents& intents) {
  if (intents.*Member) (intents.*Member)();
}

// Countdown and Countup offer the same items; the submenu gives the order.
constexpr PlayChoice kCycleAll{.scope = Scope::kAll};
constexpr PlayChoice kCycleTop20{.scope = Scope::kTop20};
constexpr PlayChoice kPlaylistAll{.scope = Scope::kAll, .playlist = true};
constexpr PlayChoice kPlaylistTop20{.scope = Scope::kTop20, .playlist = true};

using I = ModeMenuIntents;
constexpr MenuAction kActions[] = {
    {kMenuRandomAll, ask<&I::random, Scope::kAll>},
    {kMenuRandomTop20, ask<&I::random, Scope::kTop20>},
    {kMenuCountdownAll, ask<&I::countdown, kCycleAll>},
    {kMenuCountdownTop20, ask<&I::countdown, kCycleTop20>},
    {kMenuCountdownPlaylistAll, ask<&I::countdown, kPlaylistAll>},
    {kMenuCountdownPlaylistTop20, ask<&I::countdown, kPlaylistTop20>},
    {kMenuCountupAll, ask<&I::countup, kCycleAll>},
    {kMenuCountupTop20, ask<&I::countup, kCycleTop20>},
    {kMenuCountupPlaylistAll, ask<&I::countup, kPlaylistAll>},
    {kMenuCountupPlaylistTop20, ask<&I::countup, kPlaylistTop20>},
    {kMenuSonglistNew, ask<&I::songlist, SonglistCommand::kNew>},
    {kMenuSonglistSaveAs, ask<&I::songlist, SonglistCommand::kSaveAs>},
    {kMenuSonglistOpen, ask<&I::songlist, SonglistCommand::kOpen>},
    {kMenuAddFiles, ask<&I::add_files>},
    {kMenuPreferences, ask<&I::preferences>},
    {kMenuStopPlayer, ask<&I::stop_player>},
    {kMenuExit, ask<&I::exit>},
    {kMenuUndo, ask<&I::undo>},
    {kMenuRedo, ask<&I::redo>},
    {kMenuShowPlaying, ask<&I::show_playing>},
};

// Captions are shown as they are: an "&" in a songlist's name is no shortcut.
std::wstring escaped(std::wstring_view caption) {
  std::wstring text;
  for (wchar_t c : caption) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

std::wstring shown(const std::string& caption) { return escaped(wide_message(caption)); }

HMENU submenu(HMENU parent, const wchar_t* caption, std::initializer_list<std::pair<UINT, const wchar_t*>> items) {
  HMENU menu = CreatePopupMenu();
  for (const auto& [id, text] : items) AppendMenuW(menu, MF_STRING, id, text);
  AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), caption);
  return menu;
}

}  // namespace

LRESULT menu_char(HMENU menu, wchar_t typed) {
  const int count = GetMenuItemCount(menu);
  int current = -1;
  std::vector<int> matches;
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 127;
    if (!GetMenuItemInfoW(menu, i, TRUE, &item)) continue;
    if (item.fState & MFS_HILITE) current = i;
    if ((item.fType & MFT_SEPARATOR) || (item.fState & MFS_DISABLED) || !text[0]) continue;
    wchar_t first[2] = {text[0], 0}, key[2] = {typed, 0};
    CharUpperW(first);
    CharUpperW(key);
    if (first[0] == key[0]) matches.push_back(i);
  }
  if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
  if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
  const auto next = std::find_if(matches.begin(), matches.end(), [current](int i) { return i > current; });
  return MAKELRESULT(next == matches.end() ? matches.front() : *next, MNC_SELECT);
}

bool run_mode_menu_item(UINT id, const ModeMenuIntents& intents) {
  for (const MenuAction& action : kActions)
    if (action.id == id) {
      action.run(intents);
      return true;
    }
  return false;
}

ModeMenu::ModeMenu() : base_(CreateMenu()), popup_(CreatePopupMenu()) {
  AppendMenuW(base_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup_), L"mnuBase");
  submenu(popup_, L"Random", {{kMenuRandomAll, L"All"}, {kMenuRandomTop20, L"Top 20"}});
  submenu(popup_, L"Countdown",
          {{kMenuCountdownAll, L"All"},
           {kMenuCountdownTop20, L"Top 20"},
           {kMenuCountdownPlaylistAll, L"Playlist All"},
           {kMenuCountdownPlaylistTop20, L"Playlist Top 20"}});
  submenu(popup_, L"Countup",
          {{kMenuCountupAll, L"All"},
           {kMenuCountupTop20, L"Top 20"},
           {kMenuCountupPlaylistAll, L"Playlist All"},
           {kMenuCountupPlaylistTop20, L"Playlist Top 20"}});
  submenu(popup_, L"Songlist ()",
          {{kMenuSonglistNew, L"New"}, {kMenuSonglistSaveAs, L"Save As"}, {kMenuSonglistOpen, L"Open"}});
  AppendMenuW(popup_, MF_STRING, kMenuAddFiles, L"Add Files");
  AppendMenuW(popup_, MF_STRING, kMenuPreferences, L"Preferences");
  AppendMenuW(popup_, MF_STRING, kMenuStopPlayer, L"Stop Winamp");
  AppendMenuW(popup_, MF_STRING, kMenuExit, L"Exit");
  AppendMenuW(popup_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup_, MF_STRING, kMenuUndo, L"Undo");
  AppendMenuW(popup_, MF_STRING, kMenuRedo, L"Redo");
  AppendMenuW(popup_, MF_STRING, kMenuShowPlaying, L"Show Playing\tCtrl+J");
  set_undo_steps({}, {});
}

ModeMenu::~ModeMenu() { DestroyMenu(base_); }

void ModeMenu::set_caption(UINT id, std::wstring_view caption, bool enabled) {
  std::wstring text = escaped(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING | MIIM_STATE;
  item.dwTypeData = text.data();
  item.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
  SetMenuItemInfoW(popup_, id, FALSE, &item);
}

void ModeMenu::set_songlist_caption(const std::string& caption) {
  // The submenu's own entry has no id: it is found by its place, after the
  // three play submenus.
  std::wstring text = shown(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = text.data();
  SetMenuItemInfoW(popup_, 3, TRUE, &item);
}

void ModeMenu::set_stop_caption(const std::string& caption) { set_caption(kMenuStopPlayer, wide_message(caption)); }

void ModeMenu::set_undo_steps(const std::string& undo, const std::string& redo) {
  // Cut as the user reads it, so that no character is split.
  set_caption(kMenuUndo, undo.empty() ? L"Undo" : L"Undo " + elide_middle(wide_message(undo)), !undo.empty());
  set_caption(kMenuRedo, redo.empty() ? L"Redo" : L"Redo " + elide_middle(wide_message(redo)), !redo.empty());
}

void ModeMenu::enable(UINT id, bool enabled) {
  EnableMenuItem(popup_, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

UINT ModeMenu::show_mode_menu(HWND owner, POINT at) {
  // A menu opened from the tray closes when the user clicks elsewhere only
  // if its owner is the foreground window.
  SetForegroundWindow(owner);
  const UINT chosen =
      static_cast<UINT>(TrackPopupMenuEx(popup_, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace jukora
