// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/form1.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/settings_keys.h"
#include "resource_ids.h"
#include "win32/chance_column.h"
#include "win32/local_text.h"
#include "win32/message_loop.h"
#include "win32/monitors.h"
#include "win32/songlist_grid.h"
#include "win32/tooltips.h"
#include "win32/twips.h"
#include "win32/window_font.h"

namespace jukora {

namespace {

// The window as designed, in twips; its size is that of the inner area.
struct TwipRect {
  double left, top, width, height;
};
constexpr double kDesignWidth = 10035;
constexpr double kDesignHeight = 7965;
constexpr TwipRect kIncrementButton{360, 120, 1095, 375};
constexpr TwipRect kDecrementButton{1680, 120, 1095, 375};
constexpr TwipRect kGrid{360, 600, 9375, 7095};
// The grid never shrinks to this or less.
constexpr double kGridFloor = 1000;
// The search field and its count, at the right end of the button strip.
constexpr double kSearchWidth = 2700;
constexpr double kCountWidth = 1800;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

HWND child(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int id, DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void place(HWND control, const TwipRect& rect, UINT dpi) {
  MoveWindow(control, twips_to_px(rect.left, dpi), twips_to_px(rect.top, dpi), twips_to_px(rect.width, dpi),
             twips_to_px(rect.height, dpi), TRUE);
}

// Fonts larger than the design's would clip the captions: a button grows to
// its caption, and the second keeps the design's gap after the first.
void fit_captions(HWND first, HWND second, UINT dpi) {
  const int gap = twips_to_px(kDecrementButton.left - kIncrementButton.left - kIncrementButton.width, dpi);
  RECT place_of[2];
  HWND buttons[2] = {first, second};
  for (int i = 0; i < 2; ++i) {
    GetWindowRect(buttons[i], &place_of[i]);
    MapWindowPoints(nullptr, GetParent(buttons[i]), reinterpret_cast<POINT*>(&place_of[i]), 2);
    SIZE wanted{};
    if (SendMessageW(buttons[i], BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&wanted)) &&
        wanted.cx > place_of[i].right - place_of[i].left)
      place_of[i].right = place_of[i].left + wanted.cx;
  }
  const int left = std::max<int>(place_of[1].left, place_of[0].right + gap);
  place_of[1] = {left, place_of[1].top, left + (place_of[1].right - place_of[1].left), place_of[1].bottom};
  for (int i = 0; i < 2; ++i)
    MoveWindow(buttons[i], place_of[i].left, place_of[i].top, place_of[i].right - place_of[i].left,
               place_of[i].bottom - place_of[i].top, TRUE);
}

HICON icon_101(int metric_x, int metric_y) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_INCREMENT), IMAGE_ICON,
                                       GetSystemMetrics(metric_x), GetSystemMetrics(metric_y), 0));
}

void register_class(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hIcon = icon_101(SM_CXICON, SM_CYICON);
  window_class.hIconSm = icon_101(SM_CXSMICON, SM_CYSMICON);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kForm1Class;
  registered = RegisterClassExW(&window_class) != 0;
}

}  // namespace

Form1::Form1(SettingsStore& settings, const GridRows& rows, WindowIntents intents)
    : settings_(settings), rows_(rows), intents_(std::move(intents)) {
  register_class(window_proc);
  grid_width_ = kGrid.width;
  grid_height_ = kGrid.height;
  window_ = CreateWindowExW(0, kForm1Class, L"Jukora Song Manager", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
  const UINT dpi = window_dpi(window_);
  RECT outer{0, 0, twips_to_px(kDesignWidth, dpi), twips_to_px(kDesignHeight, dpi)};
  adjust_for_frame(outer, kStyle, dpi);
  const RECT design = centred_on_primary(outer.right - outer.left, outer.bottom - outer.top);
  SetWindowPos(window_, nullptr, design.left, design.top, design.right - design.left, design.bottom - design.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  create_controls();
  lay_out();
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'F', kCmdFind},
                  {FVIRTKEY | FCONTROL, 'Z', kCmdUndo},
                  {FVIRTKEY | FCONTROL, 'Y', kCmdRedo},
                  {FVIRTKEY | FCONTROL | FSHIFT, 'Z', kCmdRedo},
                  {FVIRTKEY | FCONTROL, 'J', kCmdShowPlaying}};
  shortcuts_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
  set_main_shortcuts(window_, shortcuts_);
  add_modeless_dialog(window_);
}

Form1::~Form1() {
  remove_modeless_dialog(window_);
  set_main_shortcuts(nullptr, nullptr);
  if (IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
}

void Form1::create_controls() {
  // Created in the order Tab visits them: the grid, the buttons, the search.
  grid_ = std::make_unique<SonglistGrid>(
      window_, kIdGrid, rows_,
      GridEvents{.selected =
                     [this](int row, int row_sel) {
                       if (intents_.select) intents_.select(row, row_sel);
                     },
                 .key_press = [this](int key_ascii) { MSFlexGrid1_KeyPress(key_ascii); },
                 .key_down = [this](int key_code, int shift) { MSFlexGrid1_KeyDown(key_code, shift); },
                 .double_click = [this] { MSFlexGrid1_DblClick(); },
                 .mode_menu =
                     [this](POINT at) {
                       if (hooks.show_mode_menu) hooks.show_mode_menu(at);
                     },
                 .column_sized =
                     [this](int column, int px) {
                       // The "Chance %" column keeps the width it is given; the others share what it leaves.
                       if (column == kChanceColumn) {
                         grid_->set_column_width(column, px);
                         return columns_->fit();
                       }
                       columns_->sized_by_hand(column, px);
                     },
                 .scrolled = [this] { columns_->fit(); },
                 .header_menu =
                     [this](POINT at) {
                       chance_->menu(window_, at);
                       columns_->fit();
                     }});
  columns_ = std::make_unique<GridColumns>(*grid_);
  chance_ = std::make_unique<ChanceColumn>(*grid_, settings_);
  DragAcceptFiles(grid_->hwnd(), TRUE);
  cmdIncDec_[0] = child(window_, L"BUTTON", L"+ Increment", WS_TABSTOP | BS_PUSHBUTTON, kIdIncrement);
  cmdIncDec_[1] = child(window_, L"BUTTON", L"- Decrement", WS_TABSTOP | BS_PUSHBUTTON, kIdDecrement);
  lblStatus_ =
      child(window_, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_CENTERIMAGE | SS_NOTIFY, kIdStatus);
  status_tip_ = make_tooltip(window_, TTS_NOPREFIX);
  add_tip(status_tip_, window_, lblStatus_, L"");
  SendMessageW(status_tip_, TTM_SETMAXTIPWIDTH, 0, 480);
  lblCount_ = child(window_, L"STATIC", L"", SS_RIGHT | SS_CENTERIMAGE, kIdCount);
  txtSearch_ = child(window_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kIdSearch, WS_EX_CLIENTEDGE);
  SendMessageW(txtSearch_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Search (Ctrl+F)"));
  const UINT dpi = window_dpi(window_);
  for (HWND control : {cmdIncDec_[0], cmdIncDec_[1], lblStatus_, lblCount_, txtSearch_}) use_message_font(control, dpi);
}

void Form1::lay_out() {
  const UINT dpi = window_dpi(window_);
  place(cmdIncDec_[0], kIncrementButton, dpi);
  place(cmdIncDec_[1], kDecrementButton, dpi);
  fit_captions(cmdIncDec_[0], cmdIncDec_[1], dpi);
  place(grid_->hwnd(), {kGrid.left, kGrid.top, grid_width_, grid_height_}, dpi);
  place_strip();
}

void Form1::place_strip() {
  const UINT dpi = window_dpi(window_);
  auto px = [dpi](double twips) { return twips_to_px(twips, dpi); };
  const int gap = px(kDecrementButton.left - kIncrementButton.left - kIncrementButton.width);
  const int top = px(kDecrementButton.top), height = px(kDecrementButton.height);
  RECT after{};
  GetWindowRect(cmdIncDec_[1], &after);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&after), 2);
  const int left = after.right + gap;
  const int right = px(kGrid.left + grid_width_);
  const int search_left = std::max(left, right - px(kSearchWidth));
  const int count_left = std::max(left, search_left - gap - px(kCountWidth));
  MoveWindow(txtSearch_, search_left, top, right - search_left, height, TRUE);
  MoveWindow(lblCount_, count_left, top, std::max(0, search_left - gap - count_left), height, TRUE);
  MoveWindow(lblStatus_, left, top, std::max(0, count_left - gap - left), height, TRUE);
}

void Form1::Form_Load() {
  RECT outer{};
  GetWindowRect(window_, &outer);
  const UINT dpi = window_dpi(window_);
  width_margin_ = static_cast<int>(std::lround(px_to_twips(outer.right - outer.left, dpi) - grid_width_));
  height_margin_ = static_cast<int>(std::lround(px_to_twips(outer.bottom - outer.top, dpi) - grid_height_));

  const WindowPlace stored = read_window_place(settings_, pixels_to_place(outer, system_dpi(), dpi));
  const RECT placed = onto_a_monitor(stored, outer);
  SetWindowPos(window_, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  is_loaded_ = true;
  Form_Resize();

  columns_->load(settings_, window_dpi(window_));
  chance_->load(window_dpi(window_));
  if (hooks.check_player_folder) hooks.check_player_folder();
  const bool in_tray = hooks.add_tray_icons && hooks.add_tray_icons();
  if (hooks.read_songlist) hooks.read_songlist();
  show_songlist();
  // Without a tray icon the window is the only way into the program.
  if (read_visible(settings_) || !in_tray) show();
}

void Form1::Form_Resize() {
  if (!is_loaded_ || IsIconic(window_)) return;
  RECT outer{};
  GetWindowRect(window_, &outer);
  const UINT dpi = window_dpi(window_);
  const double width = std::round(px_to_twips(outer.right - outer.left, dpi) - width_margin_);
  const double height = std::round(px_to_twips(outer.bottom - outer.top, dpi) - height_margin_);
  if (width > kGridFloor) grid_width_ = width;
  if (height > kGridFloor) grid_height_ = height;
  lay_out();
  columns_->fit();
  save_place();
}

void Form1::save_place() {
  if (!is_loaded_ || IsIconic(window_)) return;
  RECT outer{};
  GetWindowRect(window_, &outer);
  // Saved, a place on no monitor would put the window out of reach next time.
  if (MonitorFromRect(&outer, MONITOR_DEFAULTTONULL))
    save_window_place(settings_, pixels_to_place(outer, system_dpi(), window_dpi(window_)));
}

void Form1::Form_Unload() {
  if (hooks.remove_tray_icons) hooks.remove_tray_icons();
  save_visible(settings_, IsWindowVisible(window_) != FALSE);
  const std::array<int, kColumns> widths = columns_->twips(window_dpi(window_));
  for (int column = 0; column < kColumns; ++column) save_column_width(settings_, column, widths[column]);
  chance_->save(window_dpi(window_));
  if (hooks.closing) hooks.closing();
}

void Form1::save_changes() {
  const bool visible = IsWindowVisible(window_) != FALSE;
  if (visible != read_visible(settings_)) save_visible(settings_, visible);
  const std::array<int, kColumns> widths = columns_->twips(window_dpi(window_));
  for (int column = 0; column < kColumns; ++column)
    if (widths[column] != read_column_width(settings_, column)) save_column_width(settings_, column, widths[column]);
  chance_->save(window_dpi(window_));
}

void Form1::show_songlist(bool reveal) {
  grid_->refresh();
  SetWindowTextW(lblCount_, wide(rows_.search_count()).c_str());
  // Shown again each time: the rows under it may have moved or gone. Scrolled
  // to only when it moved, or when the program asks for it.
  const bool moved = grid_->row() != rows_.row() || grid_->row_sel() != rows_.row_sel();
  grid_->show_selection(rows_.row(), rows_.row_sel(), moved || reveal);
  // Other texts, or other rows in view: the columns fit them.
  columns_->fit();
}

void Form1::show_status(const std::string& text) {
  std::wstring line = wide_message(text);
  SetWindowTextW(lblStatus_, line.c_str());
  set_tip(status_tip_, window_, lblStatus_, line);
  // The latest word only, and none once it is a minute old: each word starts
  // the minute again.
  if (line.empty())
    KillTimer(window_, kStatusTimerId);
  else
    SetTimer(window_, kStatusTimerId, kStatusLifeMs, nullptr);
}

void Form1::set_caption(const std::string& caption) { SetWindowTextW(window_, wide(caption).c_str()); }

void Form1::show() {
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
}

void Form1::toggle_list() {
  if (IsWindowVisible(window_))
    ShowWindow(window_, SW_HIDE);
  else
    show();
}

void Form1::focus_search() {
  SetFocus(txtSearch_);
  SendMessageW(txtSearch_, EM_SETSEL, 0, -1);
}

void Form1::leave_search(bool clear) {
  if (clear) SetWindowTextW(txtSearch_, L"");
  SetFocus(grid_->hwnd());
}

void Form1::dpi_changed(UINT dpi, const RECT& suggested) {
  for (HWND control : {cmdIncDec_[0], cmdIncDec_[1], lblStatus_, lblCount_, txtSearch_}) use_message_font(control, dpi);
  grid_->dpi_changed(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  lay_out();
}

}  // namespace jukora
