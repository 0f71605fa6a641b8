// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/files.h"
#include "player/command_line.h"

namespace jukora {

namespace {

bool is_runnable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string find_program(std::string_view word, std::string_view search_path) {
  if (word.empty()) return {};
  if (word.find('/') != std::string_view::npos)
    return is_runnable(std::string(word)) ? std::string(word) : std::string();
  while (true) {
    auto colon = search_path.find(':');
    std::string_view folder = search_path.substr(0, colon);
    // An empty entry is the current folder, which a program started from a
    // menu does not have in any useful sense: it is passed over.
    if (!folder.empty()) {
      std::string candidate = std::string(folder) + "/" + std::string(word);
      if (is_runnable(candidate)) return candidate;
    }
    if (colon == std::string_view::npos) return {};
    search_path.remove_prefix(colon + 1);
  }
}

std::string program_search_path() {
  const char* path = std::getenv("PATH");
  return path ? path : "/usr/local/bin:/usr/bin:/bin";
}

bool process_has_argument(long pid, std::string_view argument) {
  std::string cmdline;
  if (pid <= 0 || read_whole_file("/proc/" + std::to_string(pid) + "/cmdline", cmdline) != ReadResult::kOk)
    return false;
  std::string_view rest = cmdline;
  while (!rest.empty()) {
    auto end = rest.find('\0');
    if (rest.substr(0, end) == argument) return true;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace jukora
