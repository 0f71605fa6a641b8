// SPDX-License-Identifier: GPL-3.0-or-later
// Form1's messages and the handlers that bear the grid's and buttons' names.
#include <windows.h>
// The other system headers build on windows.h.
#include <shellapi.h>

#include <string>
#include <vector>

#include "win32/form1.h"
#include "win32/local_text.h"
#include "win32/mode_menu.h"
#include "win32/songlist_grid.h"
#include "win32/win32_event_loop.h"

namespace jukora {

namespace {

constexpr int kIncrementIndex = 0;
constexpr int kDecrementIndex = 1;
constexpr int kKeyEnter = 13;

}  // namespace

LRESULT CALLBACK Form1::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->handle(message, wparam, lparam) : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT Form1::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (command(LOWORD(wparam), HIWORD(wparam))) return 0;
      break;
    case WM_NOTIFY:
      if (grid_ && reinterpret_cast<NMHDR*>(lparam)->hwndFrom == grid_->hwnd())
        return grid_->notify(*reinterpret_cast<NMHDR*>(lparam));
      break;
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_MOVE:
      // Moved by its title bar only, the window still comes back there.
      save_place();
      return 0;
    case WM_CLOSE:
      Form_Unload();
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case kTrayCallback:
      if (hooks.tray_click) hooks.tray_click(decode_tray_callback(wparam, lparam));
      return 0;
    case WM_HOTKEY:
      if (hooks.hotkey) hooks.hotkey(static_cast<int>(wparam));
      return 0;
    case kRemoteWordMessage:
      if (hooks.remote_word) hooks.remote_word(static_cast<RemoteWord>(wparam));
      return 0;
    case WM_TIMER:
      if (wparam == kPlayTimerId) {
        tmrJukora_Timer();
      } else if (wparam == kStatusTimerId) {
        show_status({});
      } else if (hooks.timer) {
        hooks.timer(wparam);
      }
      return 0;
    case kPostedWorkMessage:
      if (hooks.posted_work) hooks.posted_work();
      return 0;
    case WM_DROPFILES:
      MSFlexGrid1_OLEDragDrop(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session ends even while a box or dialog is open: end as Exit does.
      if (wparam && hooks.end_session) hooks.end_session();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && hooks.busy && hooks.busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_MENUCHAR:
      return menu_char(reinterpret_cast<HMENU>(lparam), static_cast<wchar_t>(LOWORD(wparam)));
    case WM_DPICHANGED:
      dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      if (message == TrayIcons::taskbar_created() && message != 0) {
        if (hooks.taskbar_created) hooks.taskbar_created();
        return 0;
      }
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool Form1::command(WORD id, WORD code) {
  switch (id) {
    case kIdIncrement:
    case kIdDecrement:
      if (code != BN_CLICKED) return false;
      cmdIncDec_Click(id == kIdIncrement ? kIncrementIndex : kDecrementIndex);
      return true;
    case kIdSearch:
      if (code != EN_CHANGE) return false;
      if (intents_.search) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(txtSearch_)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(txtSearch_, text.data(), static_cast<int>(text.size()))));
        intents_.search(local_shown(text));
      }
      return true;
    case kCmdFind:
      focus_search();
      return true;
    case kCmdUndo:
    case kCmdRedo:
    case kCmdShowPlaying: {
      const auto& intent = id == kCmdUndo ? intents_.undo : id == kCmdRedo ? intents_.redo : intents_.show_playing;
      if (intent) intent();
      return true;
    }
    case IDCANCEL:
    case IDOK:
      // Esc in the search field clears it; Enter goes back to the list.
      if (GetFocus() == txtSearch_) leave_search(id == IDCANCEL);
      return true;
  }
  return false;
}

void Form1::cmdIncDec_Click(int index) {
  if (intents_.step_scores) intents_.step_scores(index == kIncrementIndex ? +1 : -1);
}

void Form1::MSFlexGrid1_KeyPress(int key_ascii) {
  switch (key_ascii) {
    case '+':
    case '=':
      cmdIncDec_Click(kIncrementIndex);
      break;
    case '-':
    case '_':
      cmdIncDec_Click(kDecrementIndex);
      break;
    case kKeyEnter:
      MSFlexGrid1_DblClick();
      break;
  }
}

void Form1::MSFlexGrid1_KeyDown(int key_code, int) {
  if (key_code != kGridKeyDelete) return;
  if (intents_.delete_rows) intents_.delete_rows();
}

void Form1::MSFlexGrid1_DblClick() {
  if (intents_.play_row) intents_.play_row();
}

void Form1::MSFlexGrid1_OLEDragDrop(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
    paths.push_back(std::move(path));
  }
  DragFinish(drop);
  if (intents_.drop) intents_.drop(paths);
}

void Form1::tmrJukora_Timer() {
  if (intents_.tick) intents_.tick();
  // The replay limit frees rows as time goes by: the chances move with it.
  if (grid_->chance_shown()) InvalidateRect(grid_->hwnd(), nullptr, FALSE);
}

}  // namespace jukora
