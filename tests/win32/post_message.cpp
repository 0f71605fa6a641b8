// SPDX-License-Identifier: GPL-3.0-or-later
// Posts one message to the first window of a class, as the system would:
//   post_message <window class> <message> <wParam>
// The desktop checks post WM_HOTKEY (786) to Jukora's main window with it.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 4) return 2;
  HWND window = FindWindowW(argv[1], nullptr);
  if (!window) return 1;
  const UINT message = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
  const WPARAM wparam = std::wcstoul(argv[3], nullptr, 10);
  return PostMessageW(window, message, wparam, 0) ? 0 : 1;
}
