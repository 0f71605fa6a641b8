// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/listening_rule.h"

#include <algorithm>

#include "platform/settings_keys.h"

namespace jukora {

int listening_step(const ListeningRule& rule, const PlayFacts& play, milliseconds poll) {
  // Quitting says nothing of the song, and a player that never told where
  // it was cannot say how far the song got.
  if (play.how == PlayEnd::kQuit || !play.position) return 0;
  const milliseconds at = *play.position;
  const bool known = play.length && *play.length > milliseconds::zero();
  if (known) {
    const milliseconds length = *play.length;
    const milliseconds end = std::min(length * rule.end_percent / 100, kLongestEnd);
    // However the play ended, one that got to the end was listened to.
    if (at + poll >= length - end) return 1;
  }
  if (play.how != PlayEnd::kLeft) return 0;
  const milliseconds grace = std::chrono::seconds(rule.grace_seconds);
  const milliseconds skip = known ? *play.length * rule.skip_percent / 100 : kUnknownLengthSkip;
  // A song whose skip point lies within the grace never loses.
  return at > grace && at < skip ? -1 : 0;
}

ListeningRule read_listening_rule(const SettingsStore& store) {
  return {read_end_share(store), read_grace_secs(store), read_skip_share(store)};
}

}  // namespace jukora
