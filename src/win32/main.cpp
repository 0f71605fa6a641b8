// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora Song Manager for Windows: keeps a scored songlist and feeds Winamp.
#include <windows.h>
// The other system headers build on windows.h.
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "win32/console_output.h"
#include "win32/local_text.h"
#include "win32/message_loop.h"
#include "win32/program.h"
#include "win32/single_instance.h"
#include "win32/start_command.h"

namespace {

using jukora::Forwarded;
using jukora::RemoteWord;

std::vector<std::wstring> arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> list;
  for (int i = 1; words && i < count; ++i) list.emplace_back(words[i]);
  LocalFree(words);
  return list;
}

void tell(const char* text) { MessageBoxW(nullptr, jukora::wide(text).c_str(), L"Jukora", MB_OK); }

// The per-user data folder, %APPDATA%\Jukora, made when missing. Held as
// text in the code page like every path; a folder it cannot spell is taken
// by its short name.
std::optional<std::string> data_folder() {
  PWSTR roaming = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming))) return std::nullopt;
  std::wstring folder = std::wstring(roaming) + L"\\Jukora";
  CoTaskMemFree(roaming);
  CreateDirectoryW(folder.c_str(), nullptr);
  if (auto text = jukora::local(folder)) return text;
  std::wstring short_name(MAX_PATH, L'\0');
  short_name.resize(GetShortPathNameW(folder.c_str(), short_name.data(), MAX_PATH));
  return short_name.empty() ? std::nullopt : jukora::local(short_name);
}

// Hands the word to the running copy; the process's exit code, or nothing
// when no copy runs after all.
// A command asked for on the command line is answered there; a plain start,
// which has no console, in a box.
int answer(const std::optional<RemoteWord>& word, const char* text, int code) {
  if (word)
    jukora::print_to_console(std::string("jukora: ") + text + "\n", true);
  else
    tell(text);
  return code;
}

std::optional<int> hand_over(const std::wstring& name, std::optional<RemoteWord> word) {
  switch (jukora::forward_word(name, jukora::word_text(word.value_or(RemoteWord::kShow)))) {
    case Forwarded::kDone:
      return 0;
    case Forwarded::kNoneRunning:
      return std::nullopt;
    case Forwarded::kStillRunning:
      return answer(word, "The running Jukora did not end in time.", 3);
    case Forwarded::kNotSameUser:
      return answer(word, "Another user's program holds the name Jukora answers to, so Jukora cannot start.", 1);
    case Forwarded::kRefused:
    case Forwarded::kNoAnswer:
      break;
  }
  return answer(word, "Jukora Song Manager is already running, but does not answer.", 3);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> words = arguments();
  const jukora::StartCommand command = jukora::read_start_command(words);
  switch (command.kind) {
    case jukora::StartCommand::Kind::kHelp:
      jukora::print_to_console(jukora::help_text());
      return 0;
    case jukora::StartCommand::Kind::kVersion:
      jukora::print_to_console(jukora::version_text());
      return 0;
    case jukora::StartCommand::Kind::kRefused:
      jukora::print_to_console("jukora: " + command.refusal + "\nTry 'jukora --help'.\n", true);
      return 2;
    case jukora::StartCommand::Kind::kRun:
      break;
  }

  const std::wstring name = jukora::instance_pipe_name();
  jukora::InstanceServer server;
  // A copy that ended between the two steps leaves the name free: one more try.
  for (int attempt = 0; !server.claim(name); ++attempt) {
    if (auto code = hand_over(name, command.word)) return *code;
    if (attempt == 1)
      return answer(command.word, "Jukora cannot tell whether it runs already, so it does not start.", 1);
  }
  // Nothing runs that could end.
  if (command.word == RemoteWord::kExit) return 0;

  OleInitialize(nullptr);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const auto data = data_folder();
  if (!data) {
    tell("Jukora cannot reach its data folder in the user's application data.");
    return 1;
  }
  int code = 0;
  {
    jukora::Program program(jukora::AppFolders{*data});
    const HWND window = program.window();
    server.serve(
        [window](RemoteWord word) { PostMessageW(window, jukora::kRemoteWordMessage, static_cast<WPARAM>(word), 0); });
    program.start(command.word);
    code = jukora::run_message_loop();
  }
  OleUninitialize();
  return code;
}
