// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/preferences_dialog.h"

#include <commctrl.h>

#include <utility>

#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "playmodes/replay_words.h"
#include "resource_ids.h"
#include "win32/hotkeys.h"
#include "win32/hours_box.h"
#include "win32/local_text.h"
#include "win32/message_loop.h"
#include "win32/placement.h"
#include "win32/tooltips.h"

namespace jukora {

namespace {

constexpr const char* kHoursTip = "Limit replay to number of hours provided";
struct Tip {
  int control;
  const char* text;
};
constexpr Tip kTips[] = {
    {IDC_WINAMP_DIR, "Winamp executable directory"},
    {IDC_BROWSE_BUTTON, "Browse for winamp executable directory"},
    {IDC_CHK_INC, "Add a file to jukora if + is pressed and the file is not already in the songlist"},
    {IDC_CHK_DEC, "Add a file to jukora if - is pressed and the file is not already in the songlist"},
    {IDC_LABEL2_0, kHoursTip},
    {IDC_HOURS, kHoursTip},
    {IDC_LABEL2_1, kHoursTip},
    {IDC_CHK_NOTIFY, "Say what a score change from the tray or a key did, by the tray icons"},
    {IDC_CHK_LISTEN,
     "A song played to its end gains 1; one left early (Skip, the player's Next, another song), after its first "
     "seconds and before its middle, loses 1"},
    {IDC_END_SHARE, "The end of a song: its last part of this share, or its last 10 seconds when shorter"},
    {IDC_GRACE_SECS, "A song left within its first seconds never loses"},
    {IDC_SKIP_SHARE, "A song left before this share of it loses 1"},
    {IDC_CHK_LISTEN_NOTIFY, "A desktop notification, with Undo, for each score listening changes"},
    {IDC_CHK_FLOOR, "Random All and Random Top 20 pass over songs scored below this"},
};

std::wstring text_of(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

Dialog::Dialog(SettingsStore& settings, HWND owner, DialogHooks hooks)
    : settings_(settings), owner_(owner), hooks_(std::move(hooks)) {}

Dialog::~Dialog() {
  // Whoever the hooks reach may be gone already: the window goes alone.
  if (!window_) return;
  remove_modeless_dialog(window_);
  DestroyWindow(window_);
}

void Dialog::ensure_loaded() {
  if (window_) return;
  window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PREFERENCES), owner_, dialog_proc,
                               reinterpret_cast<LPARAM>(this));
  if (!window_) return;
  add_modeless_dialog(window_);
  centre_on_owner(window_, owner_);
  prepare_controls();
  Form_Load();
}

void Dialog::show_dialog() {
  ensure_loaded();
  if (!window_) return;
  // The note names a time of day: one shown an hour ago is stale.
  show_hours_note();
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

void Dialog::close_dialog() {
  if (!window_) return;
  remove_modeless_dialog(window_);
  DestroyWindow(std::exchange(window_, nullptr));
  listening_.reset();
  dialog_loaded_ = false;
  if (hooks_.closed) hooks_.closed();
}

void Dialog::prepare_controls() {
  filter_hours_box(GetDlgItem(window_, IDC_HOURS));
  listening_.emplace(window_);
  for (int i = 0; i < 4; ++i)
    // A plain key, or Shift with one, would take that key from every program.
    SendDlgItemMessageW(window_, IDC_KEY_FIRST + i, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                        MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  tips_ = make_tooltip(window_, 0);
  SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 360);
  for (const Tip& tip : kTips) {
    HWND control = GetDlgItem(window_, tip.control);
    // Labels hear the mouse only when asked to.
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
    add_tip(tips_, window_, control, wide(tip.text));
  }
}

void Dialog::Form_Load() {
  dialog_loaded_ = false;
  load_prefs();
  dialog_loaded_ = true;
  EnableWindow(GetDlgItem(window_, IDC_APPLY_BUTTON), FALSE);
}

void Dialog::load_prefs() {
  CheckDlgButton(window_, IDC_CHK_INC, add_on_plus_checked(settings_) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(window_, IDC_CHK_DEC, add_on_minus_checked(settings_) ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(window_, IDC_HOURS, wide(read_time_block_text(settings_)).c_str());
  SetDlgItemTextW(window_, IDC_WINAMP_DIR, wide(read_winamp_dir(settings_)).c_str());
  CheckDlgButton(window_, IDC_CHK_NOTIFY, read_notifications(settings_) ? BST_CHECKED : BST_UNCHECKED);
  for (const HotkeySetting& setting : hotkey_settings())
    SendDlgItemMessageW(window_, IDC_KEY_FIRST + static_cast<int>(setting.action) - 1, HKM_SETHOTKEY,
                        to_hotkey_control(read_hotkey(settings_, setting.action)), 0);
  listening_->load(settings_);
}

void Dialog::save_prefs() {
  save_add_on_plus(settings_, IsDlgButtonChecked(window_, IDC_CHK_INC) == BST_CHECKED);
  save_add_on_minus(settings_, IsDlgButtonChecked(window_, IDC_CHK_DEC) == BST_CHECKED);
  // As typed: text the code page cannot spell is kept as near as it can.
  save_time_block_text(settings_, local_shown(text_of(GetDlgItem(window_, IDC_HOURS))));
  save_winamp_dir(settings_, local_shown(winamp_dir_text()));
  save_notifications(settings_, IsDlgButtonChecked(window_, IDC_CHK_NOTIFY) == BST_CHECKED);
  for (const HotkeySetting& setting : hotkey_settings()) {
    const auto value = static_cast<WORD>(
        SendDlgItemMessageW(window_, IDC_KEY_FIRST + static_cast<int>(setting.action) - 1, HKM_GETHOTKEY, 0, 0));
    save_hotkey(settings_, setting.action, from_hotkey_control(value));
  }
  listening_->save(settings_);
  if (hooks_.saved) hooks_.saved();
}

std::wstring Dialog::winamp_dir_text() const { return window_ ? text_of(GetDlgItem(window_, IDC_WINAMP_DIR)) : L""; }

void Dialog::set_winamp_dir_text(const std::wstring& text) {
  ensure_loaded();
  if (window_) SetDlgItemTextW(window_, IDC_WINAMP_DIR, text.c_str());
}

void Dialog::show_hours_note() {
  if (!window_) return;
  const std::string hours = local_shown(text_of(GetDlgItem(window_, IDC_HOURS)));
  SetDlgItemTextW(window_, IDC_HOURS_NOTE, wide(replay_note(time_block_of_text(hours), SystemClock().now())).c_str());
}

void Dialog::control_changed() {
  if (dialog_loaded_) EnableWindow(GetDlgItem(window_, IDC_APPLY_BUTTON), TRUE);
}

void Dialog::OKButton_Click() {
  save_prefs();
  close_dialog();
}

void Dialog::ApplyButton_Click() {
  save_prefs();
  // The focus leaves the button before it is greyed, so Tab still works.
  if (GetFocus() == GetDlgItem(window_, IDC_APPLY_BUTTON)) SetFocus(GetDlgItem(window_, IDC_OK_BUTTON));
  EnableWindow(GetDlgItem(window_, IDC_APPLY_BUTTON), FALSE);
}

void Dialog::CancelButton_Click() { close_dialog(); }

void Dialog::BrowseButton_Click() {
  if (dialog_loaded_ && hooks_.browse) hooks_.browse();
}

INT_PTR CALLBACK Dialog::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lparam);
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->handle(message, wparam, lparam) : FALSE;
}

INT_PTR Dialog::handle(UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_CLOSE) {
    CancelButton_Click();
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam), code = HIWORD(wparam);
  switch (id) {
    case IDC_OK_BUTTON:
      OKButton_Click();
      return TRUE;
    case IDC_CANCEL_BUTTON:
      CancelButton_Click();
      return TRUE;
    case IDC_APPLY_BUTTON:
      ApplyButton_Click();
      return TRUE;
    case IDC_BROWSE_BUTTON:
      BrowseButton_Click();
      return TRUE;
    case IDC_CHK_INC:
    case IDC_CHK_DEC:
    case IDC_CHK_NOTIFY:
      if (code == BN_CLICKED) control_changed();
      return TRUE;
    case IDC_HOURS:
      if (code == EN_CHANGE) show_hours_note();
      [[fallthrough]];
    case IDC_WINAMP_DIR:
      if (code == EN_CHANGE) control_changed();
      return TRUE;
  }
  if ((id >= IDC_KEY_FIRST && id < IDC_KEY_FIRST + 4 && code == EN_CHANGE) ||
      (listening_ && listening_->changed(id, code)))
    control_changed();
  return FALSE;
}

}  // namespace jukora
