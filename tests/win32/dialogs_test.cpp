// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser's tree lines, the mode menu's letters and where a
// stored window lands.
#include <gtest/gtest.h>
#include <windows.h>

#include "win32/dir_dialog.h"
#include "win32/mode_menu.h"
#include "win32/monitors.h"
#include "win32/twips.h"

namespace jukora {
namespace {

std::wstring lines_text(const std::vector<FolderLine>& lines) {
  std::wstring text;
  for (const FolderLine& line : lines)
    text += std::to_wstring(line.depth) + (line.open ? L"+" : L"-") + line.name + L"=" + line.path + L"|";
  return text;
}

TEST(FolderChooser, TheOpenFolderWithItsParentsAboveAndItsSubfoldersBelow) {
  EXPECT_EQ(lines_text(folder_lines(L"C:\\Program Files\\Winamp", {L"Plugins", L"Skins"})),
            L"0+C:\\=C:\\|1+Program Files=C:\\Program Files|2+Winamp=C:\\Program Files\\Winamp|"
            L"3-Plugins=C:\\Program Files\\Winamp\\Plugins|3-Skins=C:\\Program Files\\Winamp\\Skins|");
  EXPECT_EQ(lines_text(folder_lines(L"D:\\", {L"Music"})), L"0+D:\\=D:\\|1-Music=D:\\Music|");
  EXPECT_EQ(lines_text(folder_lines(L"\\\\host\\share\\Winamp", {})),
            L"0+\\\\host\\share\\=\\\\host\\share\\|1+Winamp=\\\\host\\share\\Winamp|");
}

TEST(ModeMenuLetters, AFirstLetterHighlightsItsItemAndChoosesItWhenItIsTheOnlyOne) {
  ModeMenu menu;
  menu.set_songlist_caption("Songlist (default.jk8)");
  const HMENU popup = menu.popup();
  // Random, Countdown, Countup, Songlist, Add Files, Preferences, Stop Winamp, Exit, -, Undo, Redo, Show Playing.
  EXPECT_EQ(menu_char(popup, L'r'), MAKELRESULT(0, MNC_EXECUTE));  // Redo is greyed
  EXPECT_EQ(menu_char(popup, L'E'), MAKELRESULT(7, MNC_EXECUTE));
  EXPECT_EQ(menu_char(popup, L'c'), MAKELRESULT(1, MNC_SELECT));
  EXPECT_EQ(menu_char(popup, L's'), MAKELRESULT(3, MNC_SELECT));
  EXPECT_EQ(HIWORD(menu_char(popup, L'z')), MNC_IGNORE);
  // From a highlighted item the next one that begins so.
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  item.fState = MFS_HILITE;
  SetMenuItemInfoW(popup, 3, TRUE, &item);
  EXPECT_EQ(menu_char(popup, L's'), MAKELRESULT(6, MNC_SELECT));
}

TEST(WindowPlace, AStoredPlaceComesBackOnAMonitorThatIsThere) {
  const POINT origin{0, 0};
  MONITORINFO primary{};
  primary.cbSize = sizeof primary;
  GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &primary);
  const RECT area = primary.rcWork;
  const UINT dpi = system_dpi();
  const RECT design{area.left + 10, area.top + 10, area.left + 410, area.top + 310};
  const auto inside = [&area](const RECT& r) {
    return r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom;
  };
  struct Case {
    const char* what;
    WindowPlace stored;
  };
  const Case cases[] = {
      {"as it was", pixels_to_place({area.left + 50, area.top + 40, area.left + 650, area.top + 500}, dpi, dpi)},
      {"on a monitor unplugged since", {-200000, -300000, 8000, 10000}},
      {"miles wide", {0, 0, 1e9, 1e9}},
      {"a size of nothing", {600, 600, 0, 0}},
      {"half off the bottom right",
       pixels_to_place({area.right - 300, area.bottom - 100, area.right + 300, area.bottom + 300}, dpi, dpi)},
  };
  for (const Case& c : cases) {
    const RECT placed = onto_a_monitor(c.stored, design);
    EXPECT_TRUE(inside(placed)) << c.what;
    EXPECT_GE(placed.right - placed.left, twips_to_px(3000, dpi_at(placed)) - 1) << c.what;
  }
  const RECT kept = onto_a_monitor(cases[0].stored, design);
  EXPECT_EQ(kept.left, area.left + 50);
  EXPECT_EQ(kept.bottom - kept.top, 460);
  // Off an edge, the window moves back onto the monitor at its own size.
  const RECT moved = onto_a_monitor(cases[4].stored, design);
  EXPECT_EQ(moved.right, area.right);
  EXPECT_EQ(moved.bottom, area.bottom);
  EXPECT_EQ(moved.right - moved.left, 600);
}

}  // namespace
}  // namespace jukora
