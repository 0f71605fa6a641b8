// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop player the user chose, as the settings name it: its bus-name
// stem, its name for the texts and the command that starts it. Read afresh
// at every use, so a saved change counts at once.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jukora {

class SettingsStore;

class MprisSettings {
 public:
  explicit MprisSettings(const SettingsStore& settings) : settings_(settings) {}

  // "vlc": the player runs as org.mpris.MediaPlayer2.vlc (or vlc.instanceNNNN).
  std::string stem() const;
  // Its name for the texts: what it calls itself, else the stem.
  std::string identity() const;
  std::string command() const;
  // The command taken apart; nothing when a quote is left open.
  std::optional<std::vector<std::string>> command_words() const;
  // The program the command names, as found on PATH; empty when none is.
  std::string program() const;

 private:
  const SettingsStore& settings_;
};

}  // namespace jukora
