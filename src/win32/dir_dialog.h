// SPDX-License-Identifier: GPL-3.0-or-later
// The folder chooser ("Select Winamp Dir", DirDialog): a folder tree (Dir1)
// listing the open folder's parents and its subfolders, a drive list (Drive1)
// under it, and OK and Cancel at the right. A double click opens a folder;
// OK puts the open folder, not one merely highlighted, into the Preferences'
// folder box, where it waits for OK or Apply there. Modeless and sizable.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace jukora {

class Dialog;

// The lines of the tree for an open folder: its parents from the drive's
// root down, the folder itself, then its subfolders; each with its depth.
struct FolderLine {
  std::wstring name;
  std::wstring path;
  int depth = 0;
  bool open = false;  // a parent or the open folder itself
};
std::vector<FolderLine> folder_lines(const std::wstring& open_folder, const std::vector<std::wstring>& subfolders);

class DirDialog {
 public:
  // Starts at `start_folder` when the folder box names no folder.
  DirDialog(Dialog& preferences, std::wstring start_folder, HWND owner);
  ~DirDialog();
  DirDialog(const DirDialog&) = delete;
  DirDialog& operator=(const DirDialog&) = delete;

  // Opens the chooser, or brings it to the front when it is open.
  void show_chooser();
  void close_chooser();

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Form_Load();
  void Drive1_Change();
  void cmdOK_Click();
  void Command1_Click();
  // Lists `folder` in the tree; false when it cannot be read.
  bool open_at(const std::wstring& folder);
  void fill_drives();
  void lay_out();
  void draw_line(const DRAWITEMSTRUCT& item);

  Dialog& preferences_;
  const std::wstring start_folder_;
  const HWND owner_;
  HWND window_ = nullptr;
  std::wstring open_;
  std::vector<FolderLine> lines_;
  int drive_ = -1;
};

}  // namespace jukora
