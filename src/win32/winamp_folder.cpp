// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/winamp_folder.h"

#include "platform/app_folders.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace jukora {

void settle_winamp_dir(SettingsStore& settings, const std::function<bool(const std::string&)>& file_exists) {
  if (settings.read(sections::kPrefs, keys::kWinampDir)) return;
  if (file_exists(join_path(default_winamp_dir(), "winamp.exe"))) return;
  if (file_exists(join_path(kWinampDirOf32BitPrograms, "winamp.exe")))
    save_winamp_dir(settings, kWinampDirOf32BitPrograms);
}

}  // namespace jukora
