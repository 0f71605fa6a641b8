// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/tray_icons.h"

#include <cstring>

#include "resource_ids.h"
#include "win32/local_text.h"

namespace jukora {

namespace {

constexpr TrayIconEntry kEntries[] = {{TrayIconId::kDecrement, IDI_DECREMENT, "Decrement"},
                                      {TrayIconId::kIncrement, IDI_INCREMENT, "Increment"},
                                      {TrayIconId::kSkip, IDI_SKIP, "Skip"},
                                      {TrayIconId::kShowHideList, IDI_SHOW_HIDE, "Show/Hide List"},
                                      {TrayIconId::kMode, IDI_MODE, "Mode"}};

NOTIFYICONDATAA empty_record(HWND window, TrayIconId id) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = static_cast<UINT>(id);
  return record;
}

}  // namespace

std::span<const TrayIconEntry> tray_icon_entries() { return kEntries; }

NOTIFYICONDATAA tray_add_record(HWND window, const TrayIconEntry& entry, HICON icon) {
  NOTIFYICONDATAA record = empty_record(window, entry.id);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallback;
  record.hIcon = icon;
  // The first version's tip holds 64 characters.
  std::memset(record.szTip, ' ', 64);
  const std::size_t length = std::min<std::size_t>(std::strlen(entry.tooltip), 63);
  std::memcpy(record.szTip, entry.tooltip, length);
  record.szTip[length] = '\0';
  return record;
}

NOTIFYICONDATAA tray_delete_record(HWND window, TrayIconId id) { return empty_record(window, id); }

TrayClick decode_tray_callback(WPARAM wparam, LPARAM lparam) {
  TrayClick click;
  if (wparam < 1 || wparam > 5) return click;
  click.icon = static_cast<TrayIconId>(wparam);
  switch (LOWORD(lparam)) {
    case WM_LBUTTONUP:
      click.release = TrayRelease::kLeft;
      break;
    case WM_RBUTTONUP:
      click.release = TrayRelease::kRight;
      break;
  }
  return click;
}

TrayIcons::TrayIcons(HWND window) : window_(window) {}

TrayIcons::~TrayIcons() {
  remove_tray_icons();
  for (HICON icon : icons_)
    if (icon) DestroyIcon(icon);
}

HICON TrayIcons::icon_for(const TrayIconEntry& entry) {
  HICON& icon = icons_[static_cast<int>(entry.id) - 1];
  // The tray's own size, so the 16 x 16 image is taken where that is the size.
  if (!icon)
    icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(entry.resource), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  return icon;
}

void TrayIcons::add_tray_icons(bool mode_button) {
  mode_button_ = mode_button;
  shown_ = true;
  added_ = 0;
  for (const TrayIconEntry& entry : kEntries) {
    if (entry.id == TrayIconId::kMode && !mode_button) continue;
    NOTIFYICONDATAA record = tray_add_record(window_, entry, icon_for(entry));
    if (Shell_NotifyIconA(NIM_ADD, &record)) ++added_;
  }
}

void TrayIcons::remove_tray_icons() {
  if (!shown_) return;
  shown_ = false;
  for (const TrayIconEntry& entry : kEntries) {
    NOTIFYICONDATAA record = tray_delete_record(window_, entry.id);
    Shell_NotifyIconA(NIM_DELETE, &record);
  }
}

void TrayIcons::put_back() {
  if (shown_) add_tray_icons(mode_button_);
}

UINT TrayIcons::taskbar_created() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

bool TrayIcons::show_balloon(const std::string& text) {
  if (!shown_) return false;
  // A balloon needs the later, larger record; the icon itself keeps the first.
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window_;
  record.uID = static_cast<UINT>(TrayIconId::kIncrement);
  record.uFlags = NIF_INFO;
  wcsncpy(record.szInfoTitle, L"Jukora", std::size(record.szInfoTitle) - 1);
  const std::wstring line = wide_message(text);
  wcsncpy(record.szInfo, line.c_str(), std::size(record.szInfo) - 1);
  record.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
  return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

}  // namespace jukora
