// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/mode_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/step_label.h"
#include "win32/local_text.h"

namespace jukora {
namespace {

std::string name(PlayChoice choice) {
  return std::string(choice.playlist ? "playlist " : "cycle ") + (choice.scope == Scope::kAll ? "all" : "top 20");
}

// Every intent, noting what it was asked for.
ModeMenuIntents recording(std::string& asked) {
  return {
      .random = [&](Scope scope) { asked = scope == Scope::kAll ? "random all" : "random top 20"; },
      .countdown = [&](PlayChoice choice) { asked = "countdown " + name(choice); },
      .countup = [&](PlayChoice choice) { asked = "countup " + name(choice); },
      .songlist =
          [&](SonglistCommand command) {
            asked = command == SonglistCommand::kNew ? "new" : command == SonglistCommand::kSaveAs ? "save as" : "open";
          },
      .add_files = [&] { asked = "add files"; },
      .preferences = [&] { asked = "preferences"; },
      .stop_player = [&] { asked = "stop"; },
      .exit = [&] { asked = "exit"; },
      .undo = [&] { asked = "undo"; },
      .redo = [&] { asked = "redo"; },
      .show_playing = [&] { asked = "show playing"; }};
}

std::wstring caption(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

// The captions of `menu`'s items in order, a submenu's after its own: "Random[All|Top 20]".
std::wstring captions(HMENU menu) {
  std::wstring all;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (i) all += L"|";
    all += caption(menu, i);
    if (HMENU submenu = GetSubMenu(menu, i)) all += L"[" + captions(submenu) + L"]";
  }
  return all;
}

TEST(ModeMenu, EachItemAsksForItsIntentByItsId) {
  const std::pair<UINT, const char*> items[] = {
      {kMenuRandomAll, "random all"},
      {kMenuRandomTop20, "random top 20"},
      {kMenuCountdownAll, "countdown cycle all"},
      {kMenuCountdownTop20, "countdown cycle top 20"},
      {kMenuCountdownPlaylistAll, "countdown playlist all"},
      {kMenuCountdownPlaylistTop20, "countdown playlist top 20"},
      {kMenuCountupAll, "countup cycle all"},
      {kMenuCountupTop20, "countup cycle top 20"},
      {kMenuCountupPlaylistAll, "countup playlist all"},
      {kMenuCountupPlaylistTop20, "countup playlist top 20"},
      {kMenuSonglistNew, "new"},
      {kMenuSonglistSaveAs, "save as"},
      {kMenuSonglistOpen, "open"},
      {kMenuAddFiles, "add files"},
      {kMenuPreferences, "preferences"},
      {kMenuStopPlayer, "stop"},
      {kMenuExit, "exit"},
      {kMenuUndo, "undo"},
      {kMenuRedo, "redo"},
      {kMenuShowPlaying, "show playing"},
  };
  std::string asked;
  const ModeMenuIntents intents = recording(asked);
  for (const auto& [id, intent] : items) {
    asked.clear();
    EXPECT_TRUE(run_mode_menu_item(id, intents));
    EXPECT_EQ(asked, intent) << id;
  }
  asked.clear();
  EXPECT_FALSE(run_mode_menu_item(0, intents));
  EXPECT_FALSE(run_mode_menu_item(kMenuShowPlaying + 1, intents));
  EXPECT_EQ(asked, "");
  // An intent left out is no crash.
  EXPECT_TRUE(run_mode_menu_item(kMenuExit, ModeMenuIntents{}));
}

TEST(ModeMenu, ItemsInTheirOrderWithTheSonglistNamedInFull) {
  ModeMenu menu;
  menu.set_songlist_caption("Songlist (Rock & Roll.jk8)");
  menu.set_undo_steps("Increment of b.mp3", "");
  EXPECT_EQ(captions(menu.popup()),
            L"Random[All|Top 20]|Countdown[All|Top 20|Playlist All|Playlist Top 20]|"
            L"Countup[All|Top 20|Playlist All|Playlist Top 20]|Songlist (Rock && Roll.jk8)[New|Save As|Open]|"
            L"Add Files|Preferences|Stop Winamp|Exit||Undo Increment of b.mp3|Redo|Show Playing\tCtrl+J");
  EXPECT_EQ(GetMenuState(menu.popup(), kMenuUndo, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(GetMenuState(menu.popup(), kMenuRedo, MF_BYCOMMAND) & MF_GRAYED, 0u);

  // A long name is cut in its middle, so that the menu keeps a sensible
  // width; the Songlist caption is never cut.
  std::string song;
  for (int i = 0; i < 4; ++i) song += "Sigur Ros - Hoppipolla ";
  song += "(live).ogg";
  menu.set_undo_steps("", "Increment of " + song);
  menu.set_songlist_caption("Songlist (" + song + ")");
  const std::wstring redo = caption(menu.popup(), 10);
  EXPECT_EQ(redo.size(), 5u + kStepChars);
  EXPECT_EQ(redo.rfind(L"Redo Increment of Sigur Ros", 0), 0u);
  EXPECT_EQ(redo.substr(redo.size() - 10), L"(live).ogg");
  EXPECT_NE(redo.find(L'\u2026'), std::wstring::npos);
  EXPECT_EQ(caption(menu.popup(), 3), L"Songlist (" + wide(song) + L")");
  // A character of two units at the cut is kept whole or left out whole.
  const std::wstring note = L"\xD83C\xDFB5";
  EXPECT_EQ(elide_middle(L"ab" + note + L"cdefgh", 6), L"ab" + note + L"\u2026gh");
  EXPECT_EQ(elide_middle(L"abcdefg" + note + L"h", 6), L"abc\u2026" + note + L"h");
}

}  // namespace
}  // namespace jukora
