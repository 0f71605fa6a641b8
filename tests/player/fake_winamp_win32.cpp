// A stand-in for the player in the Windows tests. It notes how it was
// started in "<its own path>.log" (command line, then the show-window
// value), registers the player's window class and answers its requests:
// version 0x2090, playing until Stop, and on the playlist request writes
// "winamp.m3u" beside itself and answers position 1; it hangs on requests
// while "<its own path>.hang" exists.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int status = 1;
std::string own_path;

std::string beside_me(const char* name) { return own_path.substr(0, own_path.rfind('\\') + 1) + name; }

void write_file(const std::string& path, const std::string& text) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

LRESULT CALLBACK answer(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER && wparam == 0 &&
      GetFileAttributesA((own_path + ".hang").c_str()) != INVALID_FILE_ATTRIBUTES) {
    Sleep(3000);  // a player that hangs while "<its own path>.hang" exists
    return 0;
  }
  if (message == WM_USER && wparam == 0) {
    switch (lparam) {
      case 0:
        return 0x2090;
      case 104:
        return status;
      case 120:
        write_file(beside_me("winamp.m3u"), "#EXTM3U\r\n#EXTINF:1,One\r\nC:\\music\\one.mp3\r\nC:\\music\\two.mp3\r\n");
        return 1;
    }
    return 0;
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
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int main() {
  char path[MAX_PATH];
  own_path.assign(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = answer;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "Winamp v1.x";
  if (!RegisterClassA(&window_class)) return 1;
  HWND window = CreateWindowA("Winamp v1.x", "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              window_class.hInstance, nullptr);
  if (!window) return 1;
  // Written once the window exists, so a test that saw the log finds it.
  STARTUPINFOA startup{};
  GetStartupInfoA(&startup);
  int shown = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : -1;
  write_file(own_path + ".log", std::string(GetCommandLineA()) + "\n" + std::to_string(shown) + "\n");
  // A test that fails half-way must not leave the player behind for good.
  SetTimer(window, 1, 60000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
