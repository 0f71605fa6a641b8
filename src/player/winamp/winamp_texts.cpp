// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/winamp/winamp_texts.h"

namespace jukora {

const PlayerTexts& winamp_texts() {
  static const PlayerTexts texts{
      "Winamp",
      "Stop Winamp",
      "Winamp Directory",
      "Select Winamp Dir",
      kExecutableNotFound,
      kNotRunning,
      "Winamp executable directory",
      "Browse for winamp executable directory",
  };
  return texts;
}

}  // namespace jukora
