// SPDX-License-Identifier: GPL-3.0-or-later
// The settings in the per-user registry, where the system's classic settings
// functions keep them: one key per section under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Jukora, one string
// value per setting. Settings a person already has there carry over.
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace jukora {

inline constexpr const wchar_t* kSettingsRoot = L"Software\\VB and VBA Program Settings\\Jukora";

class RegistrySettingsStore : public SettingsStore {
 public:
  // `root` below HKEY_CURRENT_USER; tests pass a key of their own.
  explicit RegistrySettingsStore(std::wstring root = kSettingsRoot);

  // A value of another type than a string (a hand edit) counts as absent.
  std::optional<std::string> read(std::string_view section, std::string_view key) const override;
  // A value that cannot be written leaves the one stored before.
  void write(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::wstring section_path(std::string_view section) const;

  const std::wstring root_;
};

}  // namespace jukora
