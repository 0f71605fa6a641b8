#include "winamp/executable_check.h"

#include "platform/files.h"

namespace jukora {

bool executable_exists(const WinampLink& link, const std::string& winamp_dir) {
  return is_file(link.executable_path(winamp_dir));
}

void report_missing_executable(Desktop& desktop) {
  desktop.message_box(kExecutableNotFound);
  desktop.show_preferences();
}

}  // namespace jukora
