// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/console_output.h"

#include <windows.h>

#include "win32/local_text.h"

namespace jukora {

bool print_to_console(std::string_view text, bool error) {
  HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  // Sent to a file or a pipe: written there as it is.
  if (out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
      GetFileType(out) != FILE_TYPE_CHAR) {
    DWORD written = 0;
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
  }
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED) return false;
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  // The prompt was printed when the program started: the text goes on a line
  // of its own.
  const std::wstring line = L"\r\n" + wide_message(text);
  DWORD written = 0;
  const bool done = WriteConsoleW(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
  CloseHandle(console);
  return done;
}

}  // namespace jukora
