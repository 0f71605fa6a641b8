// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_settings.h"

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "player/command_line.h"

namespace jukora {

std::string MprisSettings::stem() const { return settings_.GetSetting(sections::kPlayer, keys::kMprisBusName, ""); }

std::string MprisSettings::identity() const {
  std::string stored = settings_.GetSetting(sections::kPlayer, keys::kMprisIdentity, "");
  if (!stored.empty()) return stored;
  std::string name = stem();
  return name.empty() ? "the MPRIS player" : name;
}

std::string MprisSettings::command() const { return settings_.GetSetting(sections::kPlayer, keys::kMprisCommand, ""); }

std::optional<std::vector<std::string>> MprisSettings::command_words() const { return split_command(command()); }

std::string MprisSettings::program() const {
  auto words = command_words();
  return words && !words->empty() ? find_program(words->front(), program_search_path()) : std::string();
}

}  // namespace jukora
