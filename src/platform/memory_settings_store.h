// SPDX-License-Identifier: GPL-3.0-or-later
// A settings store held in memory: for tests and for tools without a desktop.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/settings_store.h"

namespace jukora {

class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> read(std::string_view section, std::string_view key) const override {
    auto it = values_.find({std::string(section), std::string(key)});
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void write(std::string_view section, std::string_view key, std::string_view value) override {
    values_[{std::string(section), std::string(key)}] = std::string(value);
  }

  const std::map<std::pair<std::string, std::string>, std::string>& values() const { return values_; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace jukora
