#include "winamp/executable_check.h"

#include <filesystem>
#include <system_error>

namespace jukora {

bool executable_exists(const WinampLink& link, const std::string& winamp_dir) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(link.executable_path(winamp_dir)), error);
}

void report_missing_executable(Desktop& desktop) {
  desktop.message_box(kExecutableNotFound);
  desktop.show_preferences();
}

}  // namespace jukora
