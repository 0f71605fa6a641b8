// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user store of text settings under the application "Jukora".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jukora {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nothing when the key was never written.
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) const = 0;
  virtual void write(std::string_view section, std::string_view key, std::string_view value) = 0;

  std::string GetSetting(std::string_view section, std::string_view key, std::string_view default_value) const {
    auto value = read(section, key);
    return value ? *value : std::string(default_value);
  }
  void SaveSetting(std::string_view section, std::string_view key, std::string_view value) {
    write(section, key, value);
  }
};

}  // namespace jukora
