// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/songlist_grid.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <utility>

#include "win32/grid_rows.h"
#include "win32/local_text.h"
#include "win32/twips.h"
#include "win32/window_font.h"

namespace jukora {

namespace {

struct Column {
  const wchar_t* header;
  int format;
};
constexpr Column kHeaders[] = {{L"", LVCFMT_LEFT},           {L"Directory", LVCFMT_LEFT}, {L"File", LVCFMT_LEFT},
                               {L"Score", LVCFMT_RIGHT},     {L"Rank %", LVCFMT_RIGHT},   {L"Mark", LVCFMT_RIGHT},
                               {L"Last Played", LVCFMT_LEFT}};

// LVM_SETITEMSTATE for item `index`, or for every item at -1.
void set_item_state(HWND list, int index, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int shift_state() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

bool starts_with_folded(std::wstring text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  std::wstring head(prefix);
  text.resize(prefix.size());
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  CharLowerBuffW(head.data(), static_cast<DWORD>(head.size()));
  return text == head;
}

}  // namespace

SonglistGrid::SonglistGrid(HWND parent, int id, const GridRows& rows, GridEvents events)
    : rows_(rows), events_(std::move(events)) {
  list_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, 0, 0, 100,
      100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SetWindowTheme(list_, L"Explorer", nullptr);
  ListView_SetExtendedListViewStyle(list_,
                                    LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  for (int c = 0; c < static_cast<int>(std::size(kHeaders)); ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = kHeaders[c].format;
    column.pszText = const_cast<wchar_t*>(kHeaders[c].header);
    column.cx = 60;
    ListView_InsertColumn(list_, c, &column);
  }
  // The grid's whole manual, shown over it like any tooltip.
  tip_ = std::make_unique<GridTip>(parent, list_, wide(kGridToolTip));
  SetWindowSubclass(list_, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));
  dpi_changed(window_dpi(parent));
}

void SonglistGrid::dpi_changed(UINT dpi) {
  // The columns keep their width in inches.
  if (dpi_ && dpi != dpi_)
    for (int column = 0; column < Header_GetItemCount(ListView_GetHeader(list_)); ++column)
      set_column_width(column, MulDiv(column_width(column), static_cast<int>(dpi), static_cast<int>(dpi_)));
  dpi_ = dpi;
  use_message_font(list_, dpi);
  tip_->dpi_changed(dpi);
}

void SonglistGrid::refresh() {
  const int count = rows_.rows_shown();
  if (count == count_) {
    InvalidateRect(list_, nullptr, FALSE);
    return;
  }
  // Fewer rows: what the list kept selected no longer says which songs; it
  // is chosen again from the selection the program holds.
  if (count < count_) {
    set_item_state(list_, -1, 0, LVIS_SELECTED);
    shown_top_ = 0, shown_bottom_ = -1;
  }
  count_ = count;
  ListView_SetItemCountEx(list_, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(list_, nullptr, FALSE);
}

void SonglistGrid::show_selection(int row, int row_sel, bool scroll) {
  const int count = rows_.rows_shown();
  if (row < 1 || row > count) row = row_sel = 0;
  row_ = row;
  row_sel_ = row ? std::clamp(row_sel, 1, count) : 0;
  apply_selection();
  if (scroll && row_sel_) ListView_EnsureVisible(list_, row_sel_ - 1, FALSE);
}

void SonglistGrid::apply_selection() {
  // Only the rows whose state changes are told: clearing or setting every row
  // of a long list one by one would cost a call per row.
  const int count = rows_.rows_shown();
  const int top = row_ ? std::min(row_, row_sel_) : 0, bottom = row_ ? std::max(row_, row_sel_) : -1;
  if (top == 1 && bottom == count) {
    set_item_state(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  } else if (shown_top_ == 1 && shown_bottom_ >= count) {
    set_item_state(list_, -1, 0, LVIS_SELECTED);
    for (int i = top; i <= bottom; ++i) set_item_state(list_, i - 1, LVIS_SELECTED, LVIS_SELECTED);
  } else {
    for (int i = shown_top_; i <= shown_bottom_; ++i)
      if ((i < top || i > bottom) && i <= count) set_item_state(list_, i - 1, 0, LVIS_SELECTED);
    for (int i = top; i <= bottom; ++i)
      if (i < shown_top_ || i > shown_bottom_) set_item_state(list_, i - 1, LVIS_SELECTED, LVIS_SELECTED);
  }
  shown_top_ = top;
  shown_bottom_ = bottom;
  const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
  if (focused >= 0 && focused != row_sel_ - 1) set_item_state(list_, focused, 0, LVIS_FOCUSED);
  if (!row_) return;
  set_item_state(list_, row_sel_ - 1, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_SetSelectionMark(list_, row_ - 1);
}

void SonglistGrid::choose(int row, int row_sel) {
  show_selection(row, row_sel, true);
  if (events_.selected) events_.selected(row_, row_sel_);
}

int SonglistGrid::row_at(int y) const {
  const int count = rows_.rows_shown();
  if (count == 0) return 0;
  const int top = ListView_GetTopIndex(list_);
  RECT item{};
  ListView_GetItemRect(list_, top, &item, LVIR_BOUNDS);
  const int height = std::max(1L, item.bottom - item.top);
  const int offset = y - item.top;
  const int index = top + (offset < 0 ? (offset - height + 1) / height : offset / height);
  // A click past the last row lands on it: the highlight is what the keys act on.
  return std::clamp(index, 0, count - 1) + 1;
}

void SonglistGrid::press_at(int y, bool extend) {
  const int row = row_at(y);
  if (!row) return;
  if (extend && row_)
    choose(row_, row);
  else
    choose(row, row);
}

void SonglistGrid::adopt_focus() {
  const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED) + 1;
  if (focused && (focused != row_ || focused != row_sel_)) choose(focused, focused);
}

bool SonglistGrid::key_down(WPARAM key) {
  const int count = rows_.rows_shown();
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const int from = row_sel_ ? row_sel_ : 1, page = std::max(1, ListView_GetCountPerPage(list_));
  int target = 0;
  switch (key) {
    case VK_UP:
      target = from - (row_sel_ ? 1 : 0);
      break;
    case VK_DOWN:
      target = from + (row_sel_ ? 1 : 0);
      break;
    case VK_PRIOR:
      target = from - page;
      break;
    case VK_NEXT:
      target = from + page;
      break;
    case VK_HOME:
      target = 1;
      break;
    case VK_END:
      target = count;
      break;
    case VK_DELETE:
      if (events_.key_down) events_.key_down(kGridKeyDelete, shift_state());
      return true;
    case 'A':
      if (!ctrl) return false;
      if (count) choose(1, count);
      return true;
    case VK_SPACE:
      // The ListView would toggle single rows: one range only.
      return true;
    default:
      return false;
  }
  if (!count) return true;
  target = std::clamp(target, 1, count);
  if (shift && row_)
    choose(row_, target);
  else
    choose(target, target);
  return true;
}

POINT SonglistGrid::below_selection() const {
  POINT at{0, 0};
  if (row_sel_) {
    ListView_EnsureVisible(list_, row_sel_ - 1, FALSE);
    RECT item{};
    ListView_GetItemRect(list_, row_sel_ - 1, &item, LVIR_BOUNDS);
    RECT inner{};
    GetClientRect(list_, &inner);
    at = {0, std::clamp(item.bottom, 0L, inner.bottom)};
  }
  ClientToScreen(list_, &at);
  return at;
}

void SonglistGrid::paint_hint() {
  RECT area{};
  GetClientRect(list_, &area);
  RECT header{};
  GetWindowRect(ListView_GetHeader(list_), &header);
  const int margin = MulDiv(16, static_cast<int>(window_dpi(list_)), 96);
  area.top += header.bottom - header.top;
  InflateRect(&area, -margin, -margin);
  HDC dc = GetDC(list_);
  HGDIOBJ old = SelectObject(dc, message_font(window_dpi(list_)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT text = area;
  DrawTextW(dc, kEmptyListHint, -1, &text, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int height = text.bottom - text.top;
  text = area;
  text.top += std::max(0L, (area.bottom - area.top - height) / 2);
  DrawTextW(dc, kEmptyListHint, -1, &text, DT_CENTER | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(list_, dc);
}

LRESULT CALLBACK SonglistGrid::subclass_proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                             DWORD_PTR self) {
  bool done = false;
  const LRESULT result = reinterpret_cast<SonglistGrid*>(self)->handle(message, wparam, lparam, done);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, subclass_proc, 1);
  return done ? result : DefSubclassProc(list, message, wparam, lparam);
}

LRESULT SonglistGrid::handle(UINT message, WPARAM wparam, LPARAM lparam, bool& done) {
  done = true;
  const int y = static_cast<short>(HIWORD(lparam));
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(list_);
      press_at(y, (wparam & MK_SHIFT) != 0);
      dragging_ = true;
      SetCapture(list_);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && (wparam & MK_LBUTTON)) press_at(y, true);
      tip_for({static_cast<short>(LOWORD(lparam)), y});
      break;
    case WM_NOTIFY: {
      // The header's: a divider the person dragged or double-clicked.
      const auto& header = *reinterpret_cast<NMHEADERW*>(lparam);
      if (header.hdr.code != HDN_ENDTRACKW && header.hdr.code != HDN_DIVIDERDBLCLICKW) break;
      const LRESULT result = DefSubclassProc(list_, message, wparam, lparam);
      // At the end of a drag the header may not have taken the new width yet.
      const bool dragged = header.hdr.code == HDN_ENDTRACKW && header.pitem && (header.pitem->mask & HDI_WIDTH);
      if (events_.column_sized)
        events_.column_sized(header.iItem, dragged ? header.pitem->cxy : column_width(header.iItem));
      return result;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_ && message == WM_LBUTTONUP) ReleaseCapture();
      dragging_ = false;
      break;
    case WM_LBUTTONDBLCLK:
      press_at(y, false);
      if (events_.double_click) events_.double_click();
      return 0;
    case WM_RBUTTONDOWN:
      // The right button opens the mode menu and leaves the selection alone.
      SetFocus(list_);
      return 0;
    case WM_RBUTTONUP: {
      POINT at{static_cast<short>(LOWORD(lparam)), y};
      ClientToScreen(list_, &at);
      if (events_.mode_menu) events_.mode_menu(at);
      return 0;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wparam) == ListView_GetHeader(list_)) {
        POINT at{static_cast<short>(LOWORD(lparam)), y};
        if (lparam == -1) GetCursorPos(&at);
        if (events_.header_menu) events_.header_menu(at);
        return 0;
      }
      // From the keyboard (the Menu key, Shift+F10) the menu opens at the row.
      if (lparam == -1 && events_.mode_menu) events_.mode_menu(below_selection());
      return 0;
    case WM_KEYDOWN:
      if (key_down(wparam)) return 0;
      break;
    case WM_GETDLGCODE:
      // Enter is the grid's own (it plays the row), not the window's default button.
      if (lparam && reinterpret_cast<MSG*>(lparam)->message == WM_KEYDOWN &&
          reinterpret_cast<MSG*>(lparam)->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      break;
    case WM_CHAR: {
      const auto typed = static_cast<wchar_t>(wparam);
      if (typed == L'+' || typed == L'=' || typed == L'-' || typed == L'_') {
        if (events_.key_press) events_.key_press(typed);
        return 0;
      }
      if (typed < L' ') return 0;
      // Any other letter looks for a song whose file name begins so.
      DefSubclassProc(list_, message, wparam, lparam);
      adopt_focus();
      return 0;
    }
    case WM_DROPFILES:
      // Dropped on the grid, taken by the window.
      SendMessageW(GetParent(list_), message, wparam, lparam);
      return 0;
    case WM_PAINT:
      if (rows_.no_songs()) {
        // The hint is centred on the whole list: a part repainted alone (a
        // column added or dragged scrolls the rest) would leave half of an
        // old one beside the new.
        InvalidateRect(list_, nullptr, TRUE);
        DefSubclassProc(list_, message, wparam, lparam);
        paint_hint();
        return 0;
      }
      break;
  }
  done = false;
  return 0;
}

LRESULT SonglistGrid::custom_draw(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && rows_.playing(static_cast<int>(draw.nmcd.dwItemSpec) + 1)) {
    SelectObject(draw.nmcd.hdc, message_font(window_dpi(list_), true));
    return CDRF_NEWFONT;
  }
  return CDRF_DODEFAULT;
}

int SonglistGrid::find_item(const NMLVFINDITEMW& find) const {
  const int count = rows_.rows_shown();
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || count == 0) return -1;
  const std::wstring_view prefix(find.lvfi.psz);
  const int start = std::clamp(find.iStart, 0, count - 1);
  for (int k = 0; k < count; ++k) {
    const int index = (start + k) % count;
    if (starts_with_folded(wide(rows_.cell(index + 1, 2)), prefix)) return index;
  }
  return -1;
}

LRESULT SonglistGrid::notify(NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, wide(rows_.cell(item.iItem + 1, item.iSubItem)).c_str(), item.cchTextMax);
      return 0;
    }
    case LVN_ODFINDITEMW:
      // Typing looks for a song by the start of its file name.
      return find_item(reinterpret_cast<NMLVFINDITEMW&>(header));
    case NM_RETURN:
      if (events_.key_press) events_.key_press('\r');
      return 0;
    case NM_CUSTOMDRAW:
      return custom_draw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    case LVN_ENDSCROLL:
      if (events_.scrolled) events_.scrolled();
      return 0;
  }
  return 0;
}

int SonglistGrid::column_width(int column) const { return ListView_GetColumnWidth(list_, column); }

void SonglistGrid::set_column_width(int column, int px) { ListView_SetColumnWidth(list_, column, px); }

int SonglistGrid::cell_width(const std::wstring& text) const {
  return ListView_GetStringWidth(list_, text.c_str()) + MulDiv(14, static_cast<int>(dpi_), 96);
}

int SonglistGrid::text_width(int column) const {
  // Measured over the rows a screen shows, from the top one: the list may
  // hold 100,000, and reading every one would only cost time.
  const int count = rows_.rows_shown(), page = std::max(1, ListView_GetCountPerPage(list_));
  const int first = std::max(1, ListView_GetTopIndex(list_) + 1), last = std::min(count, first + page);
  int widest = 0;
  for (int row = first; row <= last; ++row) widest = std::max(widest, cell_width(wide(rows_.cell(row, column))));
  return widest;
}

int SonglistGrid::room() const {
  RECT inside{};
  GetClientRect(list_, &inside);
  return inside.right - inside.left - (chance_shown_ ? column_width(kChanceColumn) : 0);
}

void SonglistGrid::show_chance(bool shown, int px) {
  constexpr const wchar_t* kHeader = L"Chance %";
  if (px <= 0) px = ListView_GetStringWidth(list_, kHeader) + MulDiv(16, static_cast<int>(dpi_), 96);
  if (shown && !chance_shown_) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.pszText = const_cast<wchar_t*>(kHeader);
    column.cx = px;
    ListView_InsertColumn(list_, kChanceColumn, &column);
  } else if (!shown && chance_shown_) {
    ListView_DeleteColumn(list_, kChanceColumn);
  }
  chance_shown_ = shown;
  if (shown) set_column_width(kChanceColumn, px);
}

void SonglistGrid::tip_for(POINT at) {
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int item = ListView_SubItemHitTest(list_, &hit);
  if (!tip_->moved_to({item < 0 ? -1 : item, item < 0 ? -1 : hit.iSubItem})) return;
  std::wstring text = wide(kGridToolTip);
  if (item >= 0 && item < rows_.rows_shown()) {
    std::wstring whole = wide(rows_.cell(item + 1, hit.iSubItem));
    if (cell_width(whole) > column_width(hit.iSubItem)) text = std::move(whole);
    if (chance_shown_) text += L"\r\n" + wide(rows_.odds_line(item + 1));
  }
  tip_->say(std::move(text));
}

int SonglistGrid::header_width(int column) const {
  const int padding = MulDiv(16, static_cast<int>(dpi_), 96);
  return ListView_GetStringWidth(list_, kHeaders[column].header) + padding;
}

}  // namespace jukora
