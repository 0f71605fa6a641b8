// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store on QSettings: the registry on Windows, an INI file under
// the user's configuration folder elsewhere. Sections are groups.
#pragma once

#include <QSettings>

#include "platform/settings_store.h"

namespace jukora {

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();

  std::optional<std::string> read(std::string_view section, std::string_view key) const override;
  void write(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  mutable QSettings settings_;
};

}  // namespace jukora
