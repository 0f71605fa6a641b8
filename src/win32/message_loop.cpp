// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/message_loop.h"

#include <algorithm>
#include <vector>

namespace jukora {

namespace {

std::vector<HWND>& dialogs() {
  static std::vector<HWND> open;
  return open;
}
HWND main_window = nullptr;
HACCEL main_shortcuts = nullptr;

bool in_text_box(HWND focus) {
  wchar_t name[16] = {};
  return focus && GetClassNameW(focus, name, 16) && lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

void add_modeless_dialog(HWND dialog) { dialogs().push_back(dialog); }

void remove_modeless_dialog(HWND dialog) { std::erase(dialogs(), dialog); }

void set_main_shortcuts(HWND window, HACCEL shortcuts) {
  main_window = window;
  main_shortcuts = shortcuts;
}

void dispatch_message(MSG& message) {
  if (main_shortcuts && message.hwnd && GetAncestor(message.hwnd, GA_ROOT) == main_window && !in_text_box(GetFocus()) &&
      TranslateAcceleratorW(main_window, main_shortcuts, &message))
    return;
  // A copy: a dialog may close while it handles its key.
  const std::vector<HWND> open = dialogs();
  for (HWND dialog : open)
    if (IsDialogMessageW(dialog, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int run_message_loop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch_message(message);
  return static_cast<int>(message.wParam);
}

}  // namespace jukora
