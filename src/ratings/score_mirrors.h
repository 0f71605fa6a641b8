// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora's scores going out after every change, to each mirror the user has
// turned on in Preferences ("Share scores"): read at every change, so that
// a saved preference takes effect at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class SettingsStore;
class ScoreSink;

class ScoreMirrors {
 public:
  // Either sink may be null where this build has none.
  ScoreMirrors(const SettingsStore& settings, ScoreSink* mpd, ScoreSink* tags);

  // The song (Directory, File) holds the Score text `score` now. Never waits.
  void score_changed(std::string_view directory, std::string_view file, std::string_view score);
  // What the mirrors have to tell since the last call, each once.
  std::vector<std::string> take_notices();

 private:
  const SettingsStore& settings_;
  ScoreSink* mpd_;
  ScoreSink* tags_;
};

}  // namespace jukora
