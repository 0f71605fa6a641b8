// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/native_path.h"
#include "player/winamp/win32_winamp_window.h"

namespace jukora {

namespace {

// The class name the player's developer documentation gives its main window.
constexpr const char* kWindowClass = "Winamp v1.x";
constexpr LPARAM kIpcGetVersion = 0;
constexpr LPARAM kIpcWritePlaylist = 120;
constexpr LPARAM kIpcIsPlaying = 104;
constexpr LPARAM kIpcGetOutputTime = 105;
constexpr WPARAM kStopButton = 40047;

HWND window_of(WinampWindow::Handle window) { return reinterpret_cast<HWND>(window); }

// A player that does not answer this soon is busy: the window must not wait
// on it (a hung one is given up on at once).
constexpr UINT kAnswerTimeoutMs = 100;

// The answer travels as a 32-bit int inside the wider LRESULT; nothing when
// none came in time.
std::optional<long> ask(WinampWindow::Handle window, LPARAM request, WPARAM argument = 0) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window_of(window), WM_USER, argument, request, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer))
    return std::nullopt;
  return static_cast<long>(static_cast<int>(answer));
}

}  // namespace

WinampWindow::Handle Win32WinampWindow::find_winamp() {
  return reinterpret_cast<Handle>(FindWindowA(kWindowClass, nullptr));
}

std::optional<long> Win32WinampWindow::version(Handle window) { return ask(window, kIpcGetVersion); }

std::optional<long> Win32WinampWindow::write_playlist(Handle window) { return ask(window, kIpcWritePlaylist); }

std::optional<long> Win32WinampWindow::is_playing(Handle window) { return ask(window, kIpcIsPlaying); }

std::optional<long> Win32WinampWindow::output_time(Handle window, OutputTime what) {
  return ask(window, kIpcGetOutputTime, static_cast<WPARAM>(what));
}

void Win32WinampWindow::stop(Handle window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window_of(window), WM_COMMAND, kStopButton, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
}

// Both texts are in the ANSI code page, like every path the program holds;
// widened from it, a song's name reaches the player letter for letter.
void Win32WinampWindow::run(const std::string& program, const std::string& command_line) {
  std::wstring wide_line = wide_text(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process{};
  // The program path in the command line is not quoted, so Windows would
  // try "C:\Program.exe" first for "C:\Program Files\...": naming the
  // program separately runs the player and nothing else.
  if (CreateProcessW(wide_text(program).c_str(), wide_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace jukora
