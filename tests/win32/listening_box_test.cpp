// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences dialog's "Listening" box, filled from and saved to the
// registry as the program keeps it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/settings_keys.h"
#include "resource_ids.h"
#include "win32/preferences_dialog.h"
#include "win32/registry_settings_store.h"

namespace jukora {
namespace {

class ListeningBoxTest : public ::testing::Test {
 protected:
  ~ListeningBoxTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }

  HWND opened() {
    dialog.ensure_loaded();
    HWND window = FindWindowW(nullptr, L"Jukora Preferences");
    EXPECT_TRUE(window);
    return window;
  }
  // As a click on a switch reaches the dialog.
  static void click(HWND window, int id) {
    CheckDlgButton(window, id, IsDlgButtonChecked(window, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  }
  static void press(HWND window, int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  std::string stored(std::string_view key) { return store.read(sections::kPrefs, key).value_or("(none)"); }

  const std::wstring root = L"Software\\Jukora tests\\" + std::to_wstring(GetCurrentProcessId());
  RegistrySettingsStore store{root};
  Dialog dialog{store, nullptr, {}};
};

TEST_F(ListeningBoxTest, SavesOnlyWhatThePersonChanged) {
  const std::string_view keys[] = {keys::kListenScores, keys::kEndShare, keys::kGraceSecs, keys::kSkipShare,
                                   keys::kListenNotify, keys::kFloorOn,  keys::kFloorScore};
  // Filled with the defaults, the rule's numbers greyed while it is off; OK
  // writes the dialog's own keys and none of these.
  HWND window = opened();
  EXPECT_EQ(GetDlgItemInt(window, IDC_END_SHARE, nullptr, FALSE), 10u);
  EXPECT_EQ(GetDlgItemInt(window, IDC_SKIP_SHARE, nullptr, FALSE), 50u);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_GRACE_SECS)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_FLOOR_SCORE)));
  press(window, IDC_OK_BUTTON);
  EXPECT_EQ(stored(keys::kTimeBlock), "0");
  for (std::string_view key : keys) EXPECT_EQ(stored(key), "(none)") << key;

  window = opened();
  click(window, IDC_CHK_LISTEN);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_GRACE_SECS)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_APPLY_BUTTON)));
  SetDlgItemTextW(window, IDC_GRACE_SECS, L"8");
  SetDlgItemTextW(window, IDC_SKIP_SHARE, L"95");  // beyond its range: its end
  click(window, IDC_CHK_FLOOR);
  SetDlgItemTextW(window, IDC_FLOOR_SCORE, L"-3");
  press(window, IDC_APPLY_BUTTON);
  const std::string expected[] = {"True", "(none)", "8", "90", "(none)", "True", "-3"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(stored(keys[i]), expected[i]) << keys[i];

  // Read back as saved.
  dialog.close_dialog();
  window = opened();
  EXPECT_EQ(IsDlgButtonChecked(window, IDC_CHK_LISTEN), BST_CHECKED);
  EXPECT_EQ(GetDlgItemInt(window, IDC_GRACE_SECS, nullptr, FALSE), 8u);
  EXPECT_EQ(GetDlgItemInt(window, IDC_FLOOR_SCORE, nullptr, TRUE), static_cast<UINT>(-3));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_APPLY_BUTTON)));
}

}  // namespace
}  // namespace jukora
