// SPDX-License-Identifier: GPL-3.0-or-later
// The four next-song steps of the play cycle and the replay test.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "playmodes/play_modes.h"
#include "playmodes/replay_limit.h"
#include "songlist/songlist.h"

namespace jukora {

int PlayModes::step_scope() const { return std::min<std::int32_t>(cycle_.play_scope, songlist_.Rows() - 1); }

int PlayModes::draw(int bound) {
  auto r = static_cast<float>(clock_.random());
  // Narrowing can round a value just below 1 up to 1; the draw stays in [0, 1).
  if (!(r < 1.0f)) r = std::nextafter(1.0f, 0.0f);
  if (!(r >= 0.0f)) r = 0.0f;
  // Halves go to the even neighbour (the default rounding mode).
  return static_cast<int>(std::nearbyint(static_cast<double>(r) * bound)) + 1;
}

// The blank row of an empty songlist is no song: joined, its empty cells
// would hand the player the root folder.
bool PlayModes::is_song(int row) const { return songlist_.is_song(row); }

ReplayLimit PlayModes::replay_limit() { return ReplayLimit(clock_.now(), read_time_block(settings_)); }

bool PlayModes::replay_test(int k) {
  if (k < 1 || k >= songlist_.Rows()) return false;
  return replay_limit().passes_hour(songlist_.last_played_hour(k)) &&
         floor_allows(songlist_.sort_value(k), read_score_floor(settings_));
}

bool PlayModes::not_played(int row) const {
  if (not_played_.empty()) return false;
  return not_played_.count({std::string(songlist_.directory(row)), std::string(songlist_.file(row))}) != 0;
}

bool PlayModes::unmarked(int row) const { return is_song(row) && !songlist_.marked(row) && !not_played(row); }

bool PlayModes::free_for_all(int row, const ReplayLimit& limit, std::optional<std::int32_t> floor) const {
  return is_song(row) && (!floor || floor_allows(songlist_.sort_value(row), floor)) &&
         limit.passes_hour(songlist_.last_played_hour(row)) && !not_played(row);
}

bool PlayModes::free_for_top(int row, std::optional<std::int32_t> floor, bool marks_count) const {
  return (marks_count ? unmarked(row) : is_song(row)) && (!floor || floor_allows(songlist_.sort_value(row), floor));
}

void PlayModes::next_random_all() {
  feed([this] { return choose_random_all(); }, Record::kLastPlayed);
}

void PlayModes::next_countdown() {
  feed([this] { return choose_countdown(); }, Record::kMark);
}

void PlayModes::next_countup() {
  feed([this] { return choose_countup(); }, Record::kMark);
}

void PlayModes::next_random_top() {
  feed([this] { return choose_random_top(); }, Record::kMark);
}

int PlayModes::choose_random_all() {
  const int n = songlist_.Rows() - 1;
  clock_.reseed();
  // Two picks favour the top: the second draws from rows 1 to the first
  // pick, widened to the end of its run of equal Score texts.
  int c = draw(step_scope());
  while (c >= 1 && c <= n - 1 && songlist_.same_score_text(c, c + 1)) ++c;
  c = draw(c);

  // One reading of the clock and of the settings serves the whole choice.
  const ReplayLimit limit = replay_limit();
  const auto floor = read_score_floor(settings_);
  auto passes = [&](int i) { return free_for_all(i, limit, floor); };
  if (c >= 1 && c <= n && passes(c)) return c;
  for (int i = 1; i <= n; ++i)
    if (passes(i)) return i;
  return 0;
}

int PlayModes::choose_countdown() {
  for (int i = step_scope(); i >= 1; --i)
    if (unmarked(i)) return i;
  return 0;
}

int PlayModes::choose_countup() {
  const int s = step_scope();
  for (int i = 1; i <= s; ++i)
    if (unmarked(i)) return i;
  return 0;
}

int PlayModes::choose_random_top() {
  const int n = songlist_.Rows() - 1;
  const int s = step_scope();
  clock_.reseed();
  const int start = draw(s);
  const auto floor = read_score_floor(settings_);
  auto open = [&](int i) { return i >= 1 && i <= n && free_for_top(i, floor); };
  // Towards the bottom of the scope first, then from the start (tried again)
  // towards the top. A start of S + 1 can thus reach the row just below the
  // scope, which the cycle accepts.
  for (int i = start; i <= s; ++i)
    if (open(i)) return i;
  for (int i = start; i >= 1; --i)
    if (open(i)) return i;
  return 0;
}

}  // namespace jukora
