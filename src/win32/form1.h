// SPDX-License-Identifier: GPL-3.0-or-later
// The main window (Form1): the songlist grid, the two score buttons, a line
// for words to the user, and the search field. It comes up in order at
// start-up, lays out on resize, keeps its geometry and column widths in
// twips in the settings, and saves its state when closed. Its handlers bear
// the grid's and buttons' names and only turn events into intents; what the
// tray, the keys from anywhere, the pipe and the system's log-off ask for
// goes through its hooks.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/grid_columns.h"
#include "win32/grid_rows.h"
#include "win32/start_command.h"
#include "win32/tray_icons.h"

namespace jukora {

class ChanceColumn;
class SettingsStore;
class SonglistGrid;

// The messages only the program sends its window.
inline constexpr UINT kRemoteWordMessage = WM_APP + 2;
// The play cycle's timer of the window, tmrJukora, every 1000 ms; the
// session's own timers have ids of their own.
inline constexpr UINT_PTR kPlayTimerId = 1;
// Clears the line beside the buttons once its word is a minute old.
inline constexpr UINT_PTR kStatusTimerId = 2;
inline constexpr UINT kStatusLifeMs = 60 * 1000;
inline constexpr const wchar_t* kForm1Class = L"JukoraForm1";

// Where the program plugs in; each is optional.
struct Form1Hooks {
  // Start-up, in this order: the check that Winamp's folder holds its
  // program, the tray icons (true when at least one could be shown), then
  // the captions and the songlist.
  std::function<void()> check_player_folder;
  std::function<bool()> add_tray_icons;
  std::function<void()> read_songlist;
  // First thing when the window closes; last, once its own state is saved.
  std::function<void()> remove_tray_icons;
  std::function<void()> closing;
  // A button released over a tray icon (it comes as the window's message).
  std::function<void(TrayClick)> tray_click;
  // Explorer started again: the tray icons go back.
  std::function<void()> taskbar_created;
  // A key that works from anywhere, by its id.
  std::function<void(int id)> hotkey;
  // A word from a copy started later.
  std::function<void(RemoteWord)> remote_word;
  // The mode menu, at this screen position.
  std::function<void(POINT)> show_mode_menu;
  // The system ends the session: end as Exit does, at once.
  std::function<void()> end_session;
  // Whether the hourglass is up.
  std::function<bool()> busy;
  // The session's event loop: the work posted to it, and a tick of one of
  // its timers by id.
  std::function<void()> posted_work;
  std::function<void(UINT_PTR id)> timer;
};

class Form1 {
 public:
  Form1(SettingsStore& settings, const GridRows& rows, WindowIntents intents);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  Form1Hooks hooks;

  HWND hwnd() const { return window_; }

  // Start-up: call once, after the hooks are set. Ends with the window shown
  // or hidden as "visible" says.
  void Form_Load();
  // Shows the rows and selection as the program left them; `reveal` brings
  // the cursor's row into view even where it did not move.
  void show_songlist(bool reveal = false);
  // What Exit saves of the window: the visible flag and the column widths.
  void save_changes();
  // The words beside the buttons: the latest event's, cleared after a minute.
  void show_status(const std::string& text);
  void set_caption(const std::string& caption);
  // Shown and brought to the front; shown when hidden and hidden when shown.
  void show();
  void toggle_list();

  // The Parts' handlers: each turns its event into an intent.
  void cmdIncDec_Click(int index);
  void MSFlexGrid1_KeyPress(int key_ascii);
  void MSFlexGrid1_KeyDown(int key_code, int shift);
  void MSFlexGrid1_DblClick();
  void MSFlexGrid1_OLEDragDrop(HDROP drop);
  void tmrJukora_Timer();

 private:
  // The controls, and the window's shortcuts.
  enum ControlId : WORD { kIdIncrement = 100, kIdDecrement, kIdStatus, kIdCount, kIdSearch, kIdGrid };
  enum Shortcut : WORD { kCmdFind = 200, kCmdUndo, kCmdRedo, kCmdShowPlaying };

  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  bool command(WORD id, WORD code);
  void create_controls();
  void Form_Resize();
  // The window's place in the settings (app_top, app_left, app_height,
  // app_width), kept on each move and resize.
  void save_place();
  void Form_Unload();
  // The controls placed at the window's DPI: the buttons as designed, the
  // grid by the margins, the status line and search field between.
  void lay_out();
  void place_strip();
  void dpi_changed(UINT dpi, const RECT& suggested);
  void focus_search();
  void leave_search(bool clear);

  SettingsStore& settings_;
  const GridRows& rows_;
  const WindowIntents intents_;
  HWND window_ = nullptr;
  HWND cmdIncDec_[2] = {};
  HWND lblStatus_ = nullptr;
  HWND lblCount_ = nullptr;
  HWND txtSearch_ = nullptr;
  // The status line's whole text, where the line is too short for it.
  HWND status_tip_ = nullptr;
  std::unique_ptr<SonglistGrid> grid_;
  std::unique_ptr<GridColumns> columns_;
  std::unique_ptr<ChanceColumn> chance_;
  HACCEL shortcuts_ = nullptr;

  int width_margin_ = 0;
  int height_margin_ = 0;
  bool is_loaded_ = false;
  // The grid's size in twips, as the layout keeps it.
  double grid_width_ = 0, grid_height_ = 0;
};

}  // namespace jukora
