// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/app_folders.h"
#include "platform/native_path.h"
#include "player/winamp/win32_winamp_link.h"

namespace jukora {

namespace {

// The class name the player's developer documentation gives its main window.
constexpr const char* kWindowClass = "Winamp v1.x";
constexpr LPARAM kIpcGetVersion = 0;
constexpr LPARAM kIpcWritePlaylist = 120;
constexpr LPARAM kIpcIsPlaying = 104;
constexpr WPARAM kStopButton = 40047;

HWND window_of(PlayerHandle player) { return reinterpret_cast<HWND>(player); }

// A player that does not answer this soon is busy: the window must not wait
// on it (a hung one is given up on at once).
constexpr UINT kAnswerTimeoutMs = 100;

// The answer travels as a 32-bit int inside the wider LRESULT; `late` when
// none came in time.
long ask(PlayerHandle player, LPARAM request, long late) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window_of(player), WM_USER, 0, request, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer))
    return late;
  return static_cast<long>(static_cast<int>(answer));
}

// Both texts are in the ANSI code page, like every path the program holds;
// widened from it, a song's name reaches the player letter for letter.
void run(const std::string& program, const std::string& command_line) {
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

}  // namespace

PlayerHandle Win32WinampLink::find_winamp() {
  return reinterpret_cast<PlayerHandle>(FindWindowA(kWindowClass, nullptr));
}

long Win32WinampLink::version(PlayerHandle player) {
  return player == kNoPlayer ? 0 : ask(player, kIpcGetVersion, kStatusBusy);
}

long Win32WinampLink::write_playlist(PlayerHandle player) {
  return player == kNoPlayer ? -1 : ask(player, kIpcWritePlaylist, -1);
}

int Win32WinampLink::play_status(PlayerHandle player) {
  return player == kNoPlayer ? 0 : static_cast<int>(ask(player, kIpcIsPlaying, kStatusBusy));
}

void Win32WinampLink::stop(PlayerHandle player) {
  DWORD_PTR ignored = 0;
  if (player != kNoPlayer)
    SendMessageTimeoutA(window_of(player), WM_COMMAND, kStopButton, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
}

void Win32WinampLink::start(const std::string& winamp_dir) {
  std::string program = executable_path(winamp_dir);
  run(program, program);
}

HandOver Win32WinampLink::start_with_file(const std::string& winamp_dir, const std::string& song_path) {
  std::string program = executable_path(winamp_dir);
  run(program, program + " \"" + song_path + "\"");
  return HandOver::started();
}

HandOver Win32WinampLink::start_with_playlist(const std::string& winamp_dir) {
  std::string program = executable_path(winamp_dir);
  run(program, program + " \"" + playlist_path(winamp_dir) + "\"");
  return HandOver::started();
}

std::string Win32WinampLink::executable_path(const std::string& winamp_dir) const {
  return join_path(winamp_dir, "winamp.exe");
}

std::string Win32WinampLink::playlist_path(const std::string& winamp_dir) const {
  return join_path(winamp_dir, "winamp.m3u");
}

}  // namespace jukora
