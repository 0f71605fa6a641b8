// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/listening_box.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "platform/settings_keys.h"
#include "resource_ids.h"

namespace jukora {

namespace {

// Each number's box, whose arrows follow it in the resource.
struct Number {
  int box;
  std::int64_t min, max;
};
constexpr Number kNumbers[] = {
    {IDC_END_SHARE, kEndShareRange.min, kEndShareRange.max},
    {IDC_GRACE_SECS, kGraceSecsRange.min, kGraceSecsRange.max},
    {IDC_SKIP_SHARE, kSkipShareRange.min, kSkipShareRange.max},
    {IDC_FLOOR_SCORE, INT32_MIN, INT32_MAX},
};
constexpr int kRuleControls[] = {IDC_END_SHARE_LABEL,  IDC_END_SHARE,  IDC_END_SHARE_SPIN,  IDC_END_SHARE_UNIT,
                                 IDC_GRACE_SECS_LABEL, IDC_GRACE_SECS, IDC_GRACE_SECS_SPIN, IDC_GRACE_SECS_UNIT,
                                 IDC_SKIP_SHARE_LABEL, IDC_SKIP_SHARE, IDC_SKIP_SHARE_SPIN, IDC_SKIP_SHARE_UNIT,
                                 IDC_CHK_LISTEN_NOTIFY};

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

}  // namespace

ListeningBox::ListeningBox(HWND dialog) : dialog_(dialog) {
  for (const Number& number : kNumbers)
    SendDlgItemMessageW(dialog_, number.box + 1, UDM_SETRANGE32, static_cast<WPARAM>(number.min),
                        static_cast<LPARAM>(number.max));
}

int ListeningBox::number(int box) const {
  // A number beyond the range counts as the nearest end of it; text that is
  // no number, as the arrows' last good value.
  BOOL whole = FALSE;
  const std::int64_t typed = static_cast<int>(GetDlgItemInt(dialog_, box, &whole, TRUE));
  const std::int64_t value =
      whole ? typed : static_cast<int>(SendDlgItemMessageW(dialog_, box + 1, UDM_GETPOS32, 0, 0));
  for (const Number& number : kNumbers)
    if (number.box == box) return static_cast<int>(std::clamp(value, number.min, number.max));
  return static_cast<int>(value);
}

void ListeningBox::set_number(int box, int value) { SendDlgItemMessageW(dialog_, box + 1, UDM_SETPOS32, 0, value); }

void ListeningBox::load(const SettingsStore& settings) {
  const ListeningPrefs prefs = read_listening_prefs(settings);
  check(dialog_, IDC_CHK_LISTEN, prefs.listen);
  set_number(IDC_END_SHARE, prefs.end_share);
  set_number(IDC_GRACE_SECS, prefs.grace_secs);
  set_number(IDC_SKIP_SHARE, prefs.skip_share);
  check(dialog_, IDC_CHK_LISTEN_NOTIFY, prefs.notify);
  check(dialog_, IDC_CHK_FLOOR, prefs.floor_on);
  set_number(IDC_FLOOR_SCORE, prefs.floor_score);
  enable_numbers();
}

void ListeningBox::save(SettingsStore& settings) const {
  save_listening_prefs(settings, {checked(dialog_, IDC_CHK_LISTEN), number(IDC_END_SHARE), number(IDC_GRACE_SECS),
                                  number(IDC_SKIP_SHARE), checked(dialog_, IDC_CHK_LISTEN_NOTIFY),
                                  checked(dialog_, IDC_CHK_FLOOR), number(IDC_FLOOR_SCORE)});
}

bool ListeningBox::changed(int id, int code) {
  switch (id) {
    case IDC_CHK_LISTEN:
    case IDC_CHK_FLOOR:
      if (code == BN_CLICKED) enable_numbers();
      [[fallthrough]];
    case IDC_CHK_LISTEN_NOTIFY:
      return code == BN_CLICKED;
    case IDC_END_SHARE:
    case IDC_GRACE_SECS:
    case IDC_SKIP_SHARE:
    case IDC_FLOOR_SCORE:
      return code == EN_CHANGE;
  }
  return false;
}

void ListeningBox::enable_numbers() {
  const bool listen = checked(dialog_, IDC_CHK_LISTEN), floor = checked(dialog_, IDC_CHK_FLOOR);
  for (int id : kRuleControls) EnableWindow(GetDlgItem(dialog_, id), listen);
  EnableWindow(GetDlgItem(dialog_, IDC_FLOOR_SCORE), floor);
  EnableWindow(GetDlgItem(dialog_, IDC_FLOOR_SCORE_SPIN), floor);
}

}  // namespace jukora
