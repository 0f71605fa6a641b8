// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/chance_cache.h"

#include "playmodes/play_modes.h"
#include "songlist/songlist.h"

namespace jukora {

std::string ChanceCache::chance_text(int row) { return modes_.chance_words(odds(), row); }

std::string ChanceCache::odds_line(int row) { return modes_.odds_words(odds(), row); }

const ListOdds& ChanceCache::odds() {
  const auto now = std::chrono::steady_clock::now();
  if (revision_ != songlist_.revision() || now - worked_out_ >= std::chrono::seconds(1)) {
    odds_ = modes_.odds();
    revision_ = songlist_.revision();
    worked_out_ = now;
  }
  return odds_;
}

}  // namespace jukora
