// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/random_odds.h"

#include <algorithm>

namespace jukora {

namespace {

// How likely a draw over `bound` (r x bound rounded, plus 1, r uniform in
// [0, 1)) gives c, for c in 1 .. bound + 1: the two ends are reached by half
// as many r as the values between them.
double draw_chance(int c, int bound) {
  if (bound <= 0) return c == 1 ? 1.0 : 0.0;
  return c == 1 || c == bound + 1 ? 0.5 / bound : 1.0 / bound;
}

int scope_within(std::size_t rows, std::int64_t scope) {
  return static_cast<int>(std::clamp<std::int64_t>(scope, 0, static_cast<std::int64_t>(rows)));
}

}  // namespace

std::vector<double> random_all_odds(std::span<const OddsRow> rows, std::int64_t scope) {
  const int n = static_cast<int>(rows.size());
  std::vector<double> odds(rows.size(), 0.0);
  if (n == 0) return odds;
  const int s = scope_within(rows.size(), scope);
  auto row = [&](int i) -> const OddsRow& { return rows[i - 1]; };

  // The first pick, widened to the last row of its run of equal Scores,
  // gives the bound m of the second: q[m] is how likely each one is. The
  // widening stops short of the last row, and a pick past it stays.
  std::vector<double> q(n + 2, 0.0);
  {
    std::vector<int> run_end(n + 1);
    run_end[n] = n;
    for (int i = n - 1; i >= 1; --i) run_end[i] = row(i).same_score_as_next ? run_end[i + 1] : i;
    for (int c = 1; c <= s + 1; ++c) q[c <= n - 1 ? run_end[c] : c] += draw_chance(c, s);
  }

  // The second pick lands on j with sum over m of q[m] x draw_chance(j, m):
  // 1/m for 2 <= j <= m, 0.5/m at j = 1 and j = m + 1. With the suffix sums
  // of q[m]/m that is one pass.
  std::vector<double> landing(n + 1, 0.0);
  double suffix = q[n + 1] / (n + 1);
  for (int j = n; j >= 1; --j) {
    suffix += q[j] / j;
    landing[j] = j == 1 ? 0.5 * suffix : suffix + 0.5 * q[j - 1] / (j - 1);
  }

  // A landing on a row that may not play, or past the last row, falls to
  // the first row that may.
  int first_free = 0;
  double handed = 0.0;
  for (int j = 1; j <= n; ++j) {
    if (!row(j).free_for_all) continue;
    if (first_free == 0) first_free = j;
    odds[j - 1] = landing[j];
    handed += landing[j];
  }
  if (first_free != 0) odds[first_free - 1] += std::max(0.0, 1.0 - handed);
  return odds;
}

std::vector<double> random_top_odds(std::span<const OddsRow> rows, std::int64_t scope) {
  const int n = static_cast<int>(rows.size());
  std::vector<double> odds(rows.size(), 0.0);
  if (n == 0) return odds;
  const int s = scope_within(rows.size(), scope);
  auto free = [&](int i) { return rows[i - 1].free_for_top; };

  // From the start the rows towards the bottom of the scope are tried
  // first, then the start again and the rows above it; a start just past
  // the scope may take the row there.
  std::vector<int> below(s + 2, 0);
  for (int i = s; i >= 1; --i) below[i] = free(i) ? i : below[i + 1];
  const int last_tried = std::min(s + 1, n);
  std::vector<int> above(last_tried + 1, 0);
  for (int i = 1; i <= last_tried; ++i) above[i] = free(i) ? i : above[i - 1];

  for (int start = 1; start <= s + 1; ++start) {
    int chosen = start <= s ? below[start] : 0;
    if (chosen == 0) chosen = above[std::min(start, last_tried)];
    if (chosen != 0) odds[chosen - 1] += draw_chance(start, s);
  }
  return odds;
}

}  // namespace jukora
