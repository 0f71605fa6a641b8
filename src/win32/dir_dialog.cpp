// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/dir_dialog.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "resource_ids.h"
#include "win32/message_loop.h"
#include "win32/placement.h"
#include "win32/preferences_dialog.h"

namespace jukora {

namespace {

bool is_folder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The subfolders of `folder` by name; hidden and system ones are left out.
bool list_subfolders(const std::wstring& folder, std::vector<std::wstring>& names) {
  WIN32_FIND_DATAW found;
  std::wstring pattern = folder;
  if (pattern.back() != L'\\') pattern += L'\\';
  HANDLE search =
      FindFirstFileExW((pattern + L"*").c_str(), FindExInfoBasic, &found, FindExSearchLimitToDirectories, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
  return true;
}

HICON folder_icon(bool open) {
  SHFILEINFOW info{};
  SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
  return info.hIcon;
}

}  // namespace

std::vector<FolderLine> folder_lines(const std::wstring& open_folder, const std::vector<std::wstring>& subfolders) {
  std::vector<FolderLine> lines;
  // "C:\Music\Rock": "C:\", then "Music" and "Rock"; a share "\\host\share" is one part.
  std::size_t start = open_folder.starts_with(L"\\\\") ? open_folder.find(L'\\', open_folder.find(L'\\', 2) + 1)
                                                       : open_folder.find(L'\\');
  if (start == std::wstring::npos) start = open_folder.size();
  std::wstring path = open_folder.substr(0, start);
  lines.push_back({path + L"\\", path + L"\\", 0, true});
  while (start < open_folder.size()) {
    const std::size_t end = std::min(open_folder.find(L'\\', start + 1), open_folder.size());
    const std::wstring name = open_folder.substr(start + 1, end - start - 1);
    if (!name.empty()) {
      path += L"\\" + name;
      lines.push_back({name, path, static_cast<int>(lines.size()), true});
    }
    start = end;
  }
  const int depth = static_cast<int>(lines.size());
  const std::wstring parent = lines.back().path.back() == L'\\' ? lines.back().path : lines.back().path + L"\\";
  for (const std::wstring& name : subfolders) lines.push_back({name, parent + name, depth, false});
  return lines;
}

DirDialog::DirDialog(Dialog& preferences, std::wstring start_folder, HWND owner)
    : preferences_(preferences), start_folder_(std::move(start_folder)), owner_(owner) {}

DirDialog::~DirDialog() { close_chooser(); }

void DirDialog::show_chooser() {
  if (window_) {
    SetForegroundWindow(window_);
    return;
  }
  window_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIR_DIALOG), owner_, dialog_proc,
                               reinterpret_cast<LPARAM>(this));
  if (!window_) return;
  add_modeless_dialog(window_);
  centre_on_owner(window_, owner_);
  Form_Load();
}

void DirDialog::close_chooser() {
  if (!window_) return;
  remove_modeless_dialog(window_);
  DestroyWindow(std::exchange(window_, nullptr));
}

void DirDialog::Form_Load() {
  // Reading the folder box fills the Preferences dialog, hidden, when it is closed.
  preferences_.ensure_loaded();
  // Each line as tall as its folder icon.
  SendDlgItemMessageW(window_, IDC_DIR1, LB_SETITEMHEIGHT, 0, GetSystemMetrics(SM_CYSMICON) + 4);
  const std::wstring text = preferences_.winamp_dir_text();
  if (text.empty() || !is_folder(text) || !open_at(text)) open_at(start_folder_);
  fill_drives();
  lay_out();
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

bool DirDialog::open_at(const std::wstring& folder) {
  std::vector<std::wstring> names;
  wchar_t full[MAX_PATH * 2];
  const DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH * 2, full, nullptr);
  if (!length || length >= MAX_PATH * 2 || !list_subfolders(full, names)) return false;
  std::wstring path(full, length);
  // No trailing backslash, but for a drive's root.
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();
  open_ = path;
  lines_ = folder_lines(open_, names);
  HWND list = GetDlgItem(window_, IDC_DIR1);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const FolderLine& line : lines_)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.name.c_str()));
  int open_line = 0;
  while (open_line + 1 < static_cast<int>(lines_.size()) && lines_[open_line + 1].open) ++open_line;
  SendMessageW(list, LB_SETCURSEL, open_line, 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  return true;
}

void DirDialog::fill_drives() {
  HWND combo = GetDlgItem(window_, IDC_DRIVE1);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  wchar_t drives[256] = {};
  GetLogicalDriveStringsW(255, drives);
  // The drive the program stands on is the list's first choice.
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  drive_ = 0;
  for (const wchar_t* drive = drives; *drive; drive += lstrlenW(drive) + 1) {
    const std::wstring name(drive, 2);
    const int index = static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())));
    if (_wcsnicmp(current, drive, 2) == 0) drive_ = index;
  }
  SendMessageW(combo, CB_SETCURSEL, drive_, 0);
}

void DirDialog::Drive1_Change() {
  HWND combo = GetDlgItem(window_, IDC_DRIVE1);
  const int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
  wchar_t name[8] = {};
  if (index < 0 || SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) >= 7) return;
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name));
  // A drive that cannot be read (an empty card reader) leaves the tree where
  // it was, and the list on the drive before.
  if (open_at(std::wstring(name) + L"\\"))
    drive_ = index;
  else
    SendMessageW(combo, CB_SETCURSEL, drive_, 0);
}

void DirDialog::cmdOK_Click() {
  preferences_.set_winamp_dir_text(open_);
  close_chooser();
}

void DirDialog::Command1_Click() { close_chooser(); }

void DirDialog::lay_out() {
  RECT inner{};
  GetClientRect(window_, &inner);
  RECT unit{7, 14, 50, 14};
  MapDialogRect(window_, &unit);
  const int margin = unit.left, button_width = unit.right, button_height = unit.bottom, gap = unit.top / 4;
  RECT combo{};
  GetWindowRect(GetDlgItem(window_, IDC_DRIVE1), &combo);
  const int combo_height = combo.bottom - combo.top;
  const int list_width = std::max(0, static_cast<int>(inner.right) - 3 * margin - button_width);
  const int list_height = std::max(0, static_cast<int>(inner.bottom) - 2 * margin - gap - combo_height);
  MoveWindow(GetDlgItem(window_, IDC_DIR1), margin, margin, list_width, list_height, TRUE);
  MoveWindow(GetDlgItem(window_, IDC_DRIVE1), margin, margin + list_height + gap, list_width, combo_height * 8, TRUE);
  const int right = margin + list_width + margin;
  MoveWindow(GetDlgItem(window_, IDC_DIR_OK), right, margin, button_width, button_height, TRUE);
  MoveWindow(GetDlgItem(window_, IDC_DIR_CANCEL), right, margin + button_height + gap, button_width, button_height,
             TRUE);
}

void DirDialog::draw_line(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= lines_.size()) return;
  const FolderLine& line = lines_[item.itemID];
  const bool selected = item.itemState & ODS_SELECTED;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int icon = GetSystemMetrics(SM_CXSMICON), step = icon * 3 / 4;
  const int left = item.rcItem.left + 2 + line.depth * step;
  static const HICON closed = folder_icon(false), opened = folder_icon(true);
  DrawIconEx(item.hDC, left, item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - icon) / 2,
             line.open ? opened : closed, icon, icon, 0, nullptr, DI_NORMAL);
  RECT text = item.rcItem;
  text.left = left + icon + 4;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(item.hDC, line.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

INT_PTR CALLBACK DirDialog::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lparam);
  auto* self = reinterpret_cast<DirDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->handle(message, wparam, lparam) : FALSE;
}

INT_PTR DirDialog::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_SIZE:
      lay_out();
      return TRUE;
    case WM_CLOSE:
      Command1_Click();
      return TRUE;
    case WM_DRAWITEM:
      draw_line(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_DIR_OK:
          cmdOK_Click();
          return TRUE;
        case IDC_DIR_CANCEL:
          Command1_Click();
          return TRUE;
        case IDC_DRIVE1:
          if (HIWORD(wparam) == CBN_SELCHANGE) Drive1_Change();
          return TRUE;
        case IDC_DIR1:
          if (HIWORD(wparam) == LBN_DBLCLK) {
            const auto index = SendMessageW(GetDlgItem(window_, IDC_DIR1), LB_GETCURSEL, 0, 0);
            if (index >= 0 && static_cast<std::size_t>(index) < lines_.size()) open_at(lines_[index].path);
          }
          return TRUE;
      }
  }
  return FALSE;
}

}  // namespace jukora
