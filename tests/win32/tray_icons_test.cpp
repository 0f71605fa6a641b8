// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/tray_icons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource_ids.h"

namespace jukora {
namespace {

TEST(TrayIcons, FiveIconsInTheirOrderWithTheirImagesAndTooltips) {
  struct Expected {
    int id, resource;
    const char* tooltip;
  };
  const Expected expected[] = {
      {1, 102, "Decrement"}, {2, 101, "Increment"}, {3, 103, "Skip"}, {4, 104, "Show/Hide List"}, {5, 105, "Mode"}};
  ASSERT_EQ(tray_icon_entries().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(static_cast<int>(tray_icon_entries()[i].id), expected[i].id);
    EXPECT_EQ(tray_icon_entries()[i].resource, expected[i].resource);
    EXPECT_STREQ(tray_icon_entries()[i].tooltip, expected[i].tooltip);
  }
}

TEST(TrayIcons, TheAddRecordIsTheFirstVersionWithMessageIconAndTip) {
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const HICON icon = reinterpret_cast<HICON>(0x5678);
  for (const TrayIconEntry& entry : tray_icon_entries()) {
    const NOTIFYICONDATAA record = tray_add_record(window, entry, icon);
    EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(record.hWnd, window);
    EXPECT_EQ(record.uID, static_cast<UINT>(entry.id));
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, kTrayCallback);
    EXPECT_EQ(record.hIcon, icon);
    // The tooltip, one NUL, and spaces to the end of the first version's 64.
    const std::string tip(record.szTip, 64);
    const std::size_t length = std::strlen(entry.tooltip);
    EXPECT_EQ(tip.substr(0, length), entry.tooltip);
    EXPECT_EQ(tip[length], '\0');
    EXPECT_EQ(tip.substr(length + 1), std::string(63 - length, ' '));
  }
}

TEST(TrayIcons, TheDeleteRecordHoldsOnlySizeWindowAndId) {
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const NOTIFYICONDATAA record = tray_delete_record(window, TrayIconId::kMode);
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 5u);
  EXPECT_EQ(record.uFlags, 0u);
  EXPECT_EQ(record.hIcon, nullptr);
}

TEST(TrayIcons, OnlyAButtonReleasedOverAnIconIsAClick) {
  struct Case {
    WPARAM id;
    LPARAM mouse;
    TrayRelease release;
  };
  const Case cases[] = {
      {1, WM_LBUTTONUP, TrayRelease::kLeft},     {5, WM_RBUTTONUP, TrayRelease::kRight},
      {3, WM_LBUTTONDOWN, TrayRelease::kNone},   {3, WM_RBUTTONDOWN, TrayRelease::kNone},
      {2, WM_LBUTTONDBLCLK, TrayRelease::kNone}, {2, WM_MOUSEMOVE, TrayRelease::kNone},
      {2, WM_MBUTTONUP, TrayRelease::kNone},     {4, MAKELPARAM(WM_LBUTTONUP, 77), TrayRelease::kLeft},
      {0, WM_LBUTTONUP, TrayRelease::kNone},     {6, WM_LBUTTONUP, TrayRelease::kNone},
  };
  for (const Case& c : cases) {
    const TrayClick click = decode_tray_callback(c.id, c.mouse);
    EXPECT_EQ(click.release, c.release) << c.id << " " << c.mouse;
    if (c.release != TrayRelease::kNone) {
      EXPECT_EQ(static_cast<WPARAM>(click.icon), c.id);
    }
  }
}

}  // namespace
}  // namespace jukora
