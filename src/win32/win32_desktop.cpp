// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/win32_desktop.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "win32/local_text.h"
#include "win32/progress_window.h"

namespace jukora {

struct Win32Desktop::Modal {
  explicit Modal(int& depth) : depth_(depth) { ++depth_; }
  ~Modal() { --depth_; }
  int& depth_;
};

namespace {

void join_path(std::wstring& path, std::wstring_view name) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  path += name;
}

OPENFILENAMEW open_file_name(HWND owner, const std::wstring& title, const std::wstring& filter,
                             const std::wstring& initial_dir, std::wstring& buffer) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = initial_dir.empty() ? nullptr : initial_dir.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  // The read-only box would promise what the program never does, and the
  // program's folder stays its own.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return dialog;
}

std::wstring music_folder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Music, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::wstring dialog_filter(const std::string& filter) {
  std::wstring text = wide(filter);
  for (wchar_t& c : text)
    if (c == L'|') c = L'\0';
  text.append(2, L'\0');
  return text;
}

std::vector<std::wstring> chosen_paths(std::wstring_view result) {
  std::vector<std::wstring> parts;
  while (!result.empty() && result.front() != L'\0') {
    const auto end = result.find(L'\0');
    parts.emplace_back(result.substr(0, end));
    if (end == std::wstring_view::npos) break;
    result.remove_prefix(end + 1);
  }
  if (parts.size() < 2) return parts;
  std::vector<std::wstring> paths;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::wstring path = parts[0];
    join_path(path, parts[i]);
    paths.push_back(std::move(path));
  }
  return paths;
}

Win32Desktop::Win32Desktop(DesktopHooks hooks) : hooks_(std::move(hooks)) {}
Win32Desktop::~Win32Desktop() = default;

void Win32Desktop::message_box(const std::string& text) {
  Modal modal(modal_);
  MessageBoxW(owner_, wide_message(text).c_str(), wide(kAppTitle).c_str(), MB_OK);
}

std::optional<std::string> Win32Desktop::choose_file(const FileDialogRequest& request) {
  std::wstring buffer(MAX_PATH * 4, L'\0');
  const std::wstring name = wide(request.file_name);
  name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
  const std::wstring title = wide(request.title), filter = dialog_filter(request.filter),
                     dir = wide(request.initial_dir);
  OPENFILENAMEW dialog = open_file_name(owner_, title, filter, dir, buffer);
  // Only the save dialog asks before a file that exists is replaced.
  if (request.asks_to_replace) dialog.Flags |= OFN_OVERWRITEPROMPT;
  bool chosen;
  {
    Modal modal(modal_);
    chosen = request.asks_to_replace ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  }
  if (!chosen) return std::nullopt;
  const std::wstring path(buffer.c_str());
  if (auto text = local(path)) return text;
  message_box(left_out_message({path}));
  return std::nullopt;
}

std::vector<std::string> Win32Desktop::choose_files(const FileDialogRequest& request) {
  std::wstring buffer(kAddFilesResultLimit, L'\0');
  const std::wstring name = wide(request.file_name);
  name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
  const std::wstring title = wide(request.title), filter = dialog_filter(request.filter);
  // Until songs were added in this run, the user's Music folder rather than
  // wherever the program was started from.
  const std::wstring dir = request.initial_dir.empty() ? music_folder() : wide(request.initial_dir);
  OPENFILENAMEW dialog = open_file_name(owner_, title, filter, dir, buffer);
  dialog.Flags |= OFN_ALLOWMULTISELECT;
  bool chosen;
  {
    Modal modal(modal_);
    chosen = GetOpenFileNameW(&dialog);
  }
  if (!chosen) {
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) message_box(kTooManyFiles);
    return {};
  }
  LocalPaths paths = local_paths(chosen_paths(buffer));
  if (!paths.left_out.empty()) message_box(left_out_message(paths.left_out));
  return std::move(paths.paths);
}

void Win32Desktop::set_captions(const std::string& window_caption, const std::string& menu_caption) {
  if (hooks_.captions) hooks_.captions(window_caption, menu_caption);
}

void Win32Desktop::show_preferences() {
  if (hooks_.preferences) hooks_.preferences();
}

void Win32Desktop::set_busy(bool busy) {
  busy_ += busy ? 1 : (busy_ > 0 ? -1 : 0);
  // The cursor changes at once, not only at the mouse's next move.
  POINT at;
  if (GetCursorPos(&at) && WindowFromPoint(at) && GetAncestor(WindowFromPoint(at), GA_ROOT) == owner_)
    SetCursor(LoadCursorW(nullptr, busy_ ? IDC_WAIT : IDC_ARROW));
}

void Win32Desktop::show_window() {
  if (hooks_.show_window) hooks_.show_window();
}

void Win32Desktop::toggle_window() {
  if (hooks_.toggle_window) hooks_.toggle_window();
}

void Win32Desktop::open_mode_menu() {
  if (hooks_.mode_menu) hooks_.mode_menu();
}

void Win32Desktop::show_status(const std::string& text) {
  if (hooks_.status) hooks_.status(text);
}

void Win32Desktop::notify(const std::string& text) {
  if (hooks_.notify) hooks_.notify(text);
}

bool Win32Desktop::show_progress(const std::string& text) {
  if (!progress_) progress_ = std::make_unique<ProgressWindow>(owner_);
  return progress_->update(text);
}

void Win32Desktop::end_progress() { progress_.reset(); }

}  // namespace jukora
