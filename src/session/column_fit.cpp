// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/column_fit.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

namespace jukora {

namespace {

// `total` split between two columns needing `first` and `second` in
// proportion to `first_weight` to `second_weight`, except that a column
// needing less than its share gets what it needs and the other the rest:
// neither is cut while both fit, and the shorter stays whole where it can.
// Never below `first_least`/`second_least`.
std::pair<int, int> share(int total, int first, int second, std::int64_t first_weight, std::int64_t second_weight,
                          int first_least, int second_least) {
  if (first_weight <= 0 || second_weight <= 0) first_weight = second_weight = 1;
  const int wanted = static_cast<int>(total * first_weight / (first_weight + second_weight));
  int one = std::clamp(wanted, std::min(first, total - second), std::max(first, total - second));
  one = std::clamp(one, first_least, std::max(first_least, total - second_least));
  return {one, std::max(second_least, total - one)};
}

}  // namespace

std::array<int, kColumns> fit_columns(const ColumnNeeds& needs, int room) {
  std::array<int, kColumns> widths{};
  int others = 0;
  for (int column = 0; column < kColumns; ++column) {
    widths[column] = needs.held[column] ? needs.held_width[column] : std::max(needs.text[column], needs.header[column]);
    if (column != col::kDirectory && column != col::kFile) others += widths[column];
  }
  const int rest = room - others;
  const auto text = [&](int column) { return std::max(needs.text[column], needs.header[column]); };
  const bool directory_held = needs.held[col::kDirectory], file_held = needs.held[col::kFile];
  // Beside a name column the person sized, the other one takes the rest.
  if (directory_held && !file_held) {
    widths[col::kFile] = std::max(needs.header[col::kFile], rest - widths[col::kDirectory]);
  } else if (file_held && !directory_held) {
    widths[col::kDirectory] = std::max(needs.header[col::kDirectory], rest - widths[col::kFile]);
  } else if (!directory_held) {
    std::tie(widths[col::kDirectory], widths[col::kFile]) =
        share(rest, text(col::kDirectory), text(col::kFile), needs.directory_weight, needs.file_weight,
              needs.header[col::kDirectory], needs.header[col::kFile]);
  }
  return widths;
}

}  // namespace jukora
