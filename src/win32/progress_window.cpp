// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/progress_window.h"

#include "win32/local_text.h"
#include "win32/message_loop.h"
#include "win32/twips.h"
#include "win32/window_font.h"

namespace jukora {

namespace {

constexpr ULONGLONG kShowAfterMs = 500;
constexpr const wchar_t* kClass = L"JukoraProgress";

}  // namespace

ProgressWindow::ProgressWindow(HWND owner) : owner_(owner), started_(GetTickCount64()) {}

ProgressWindow::~ProgressWindow() {
  if (!window_) return;
  remove_modeless_dialog(window_);
  DestroyWindow(window_);
}

LRESULT CALLBACK ProgressWindow::window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if ((message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) || message == WM_CLOSE) {
    if (self) self->cancelled_ = true;
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool ProgressWindow::update(const std::string& text) {
  if (!window_ && GetTickCount64() - started_ >= kShowAfterMs) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClass;
    RegisterClassW(&window_class);
    const UINT dpi = window_dpi(owner_);
    const int width = MulDiv(360, dpi, 96), height = MulDiv(120, dpi, 96), margin = MulDiv(12, dpi, 96);
    RECT owner_rect{};
    GetWindowRect(owner_, &owner_rect);
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, L"Jukora", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                              owner_rect.left + margin * 4, owner_rect.top + margin * 4, width, height, owner_, nullptr,
                              window_class.hInstance, nullptr);
    if (!window_) return !cancelled_;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT inner{};
    GetClientRect(window_, &inner);
    label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS, margin,
                             margin, inner.right - 2 * margin, MulDiv(20, dpi, 96), window_, nullptr, nullptr, nullptr);
    const int button_width = MulDiv(88, dpi, 96), button_height = MulDiv(26, dpi, 96);
    HWND cancel =
        CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        inner.right - margin - button_width, inner.bottom - margin - button_height, button_width,
                        button_height, window_, reinterpret_cast<HMENU>(IDCANCEL), nullptr, nullptr);
    use_message_font(label_, dpi);
    use_message_font(cancel, dpi);
    add_modeless_dialog(window_);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
  if (label_) SetWindowTextW(label_, wide_message(text).c_str());
  return !cancelled_;
}

}  // namespace jukora
