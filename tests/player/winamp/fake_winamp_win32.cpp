// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the player in the Windows tests: it logs its command line
// and show-window value to "<its own path>.log" and answers the player's
// window messages. Started with a file, that file is its whole playlist;
// started bare, it is at the second of two songs. Like Winamp it runs once:
// a later start hands its file to the running one, which plays it. Where it is in that song
// and how long the song is, it is told by "<its own path>.time": the
// position in milliseconds and the length in seconds; without that file,
// or stopped, it answers -1 for both.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int status = 1;
std::wstring own_path;
std::wstring song;

std::string narrow(const std::wstring& text, UINT code_page) {
  int size = static_cast<int>(text.size());
  std::string out(
      static_cast<std::size_t>(WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(code_page, 0, text.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

std::wstring beside_me(const wchar_t* name) { return own_path.substr(0, own_path.rfind(L'\\') + 1) + name; }

// The position or the length from the ".time" file.
long output_time(WPARAM what) {
  long told[2] = {-1, -1};
  if (std::FILE* file = _wfopen((own_path + L".time").c_str(), L"rb")) {
    if (std::fscanf(file, "%ld %ld", &told[0], &told[1]) != 2) told[0] = told[1] = -1;
    std::fclose(file);
  }
  return (status == 1 || status == 3) && what < 2 ? told[what] : -1;
}

void write_file(const std::wstring& path, const std::string& text) {
  if (std::FILE* file = _wfopen(path.c_str(), L"wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

LRESULT CALLBACK answer(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER && GetFileAttributesW((own_path + L".hang").c_str()) != INVALID_FILE_ATTRIBUTES) {
    Sleep(3000);
    return 0;
  }
  if (message == WM_USER && lparam == 105) return output_time(wparam);
  if (message == WM_USER && wparam == 0) {
    switch (lparam) {
      case 0:
        return 0x2090;
      case 104:
        return status;
      case 120:
        if (!song.empty()) {
          write_file(beside_me(L"winamp.m3u"), "#EXTM3U\r\n" + narrow(song, CP_ACP) + "\r\n");
          return 0;
        }
        write_file(beside_me(L"winamp.m3u"),
                   "#EXTM3U\r\n#EXTINF:1,One\r\nC:\\music\\one.mp3\r\nC:\\music\\two.mp3\r\n");
        return 1;
    }
    return 0;
  }
  if (message == WM_COPYDATA) {
    const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    song.assign(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    status = 1;
    return TRUE;
  }
  if (message == WM_COMMAND && wparam == 40047) {
    status = 0;
    return 0;
  }
  if (message == WM_TIMER || message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int main() {
  wchar_t path[MAX_PATH];
  own_path.assign(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  const std::wstring command_line = GetCommandLineW();
  // The song comes in quotes after the program's own name, which is quoted
  // too when it holds a space (as wine and a shell start it).
  std::size_t after_name = command_line.find(command_line.starts_with(L'"') ? L'"' : L' ', 1);
  after_name = after_name == std::wstring::npos ? command_line.size() : after_name + 1;
  auto open_quote = command_line.find(L'"', after_name), close_quote = command_line.rfind(L'"');
  if (open_quote != std::wstring::npos && close_quote > open_quote)
    song = command_line.substr(open_quote + 1, close_quote - open_quote - 1);
  const auto log_start = [&command_line] {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    int shown = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
    write_file(own_path + L".log", narrow(command_line, CP_UTF8) + "\n" + std::to_string(shown) + "\n");
  };
  if (HWND running = FindWindowW(L"Winamp v1.x", nullptr)) {
    if (!song.empty()) {
      COPYDATASTRUCT data{0, static_cast<DWORD>(song.size() * sizeof(wchar_t)), song.data()};
      SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    log_start();
    return 0;
  }

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = answer;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"Winamp v1.x";
  if (!RegisterClassW(&window_class)) return 1;
  HWND window = CreateWindowW(L"Winamp v1.x", L"Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              window_class.hInstance, nullptr);
  if (!window) return 1;
  // Written once the window exists, so a test that saw the log finds it.
  log_start();
  // A test that fails half-way must not leave the player behind for good.
  SetTimer(window, 1, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
