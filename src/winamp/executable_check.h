// The test every operation that starts the player makes first.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "winamp/winamp_link.h"

namespace jukora {

bool executable_exists(const WinampLink& link, const std::string& winamp_dir);

// "Winamp executable not found. ..." and the Preferences dialog, not waited for.
void report_missing_executable(Desktop& desktop);

}  // namespace jukora
