// SPDX-License-Identifier: GPL-3.0-or-later
// Where Winamp is looked for before anyone has said: its usual folder, and
// on 64-bit Windows the folder of 32-bit programs, where its installer puts
// it there.
#pragma once

#include <functional>
#include <string>

namespace jukora {

class SettingsStore;

inline constexpr const char* kWinampDirOf32BitPrograms = "C:\\Program Files (x86)\\Winamp";

// When "winamp_dir" was never set and "winamp.exe" is missing from the usual
// folder but found in the folder of 32-bit programs, that folder is saved as
// Winamp's. `file_exists` answers for a full path.
void settle_winamp_dir(SettingsStore& settings, const std::function<bool(const std::string&)>& file_exists);

}  // namespace jukora
