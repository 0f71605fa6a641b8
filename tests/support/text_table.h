// SPDX-License-Identifier: GPL-3.0-or-later
// The songlist as the program kept it before its rows were typed: seven
// text cells a row, read from and written to .jk8 text and recomputed as
// plainly as the rules say, with no shortcut. The typed table is checked
// against it: the same bytes give the same table and write the same bytes.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "songlist/date_text.h"
#include "songlist/numbers.h"

namespace jukora::testing {

class TextTable {
 public:
  using Row = std::array<std::string, 7>;
  std::vector<Row> rows;

  // Appends the records of `bytes` and recomputes; false, without the
  // recompute, when the last record is cut short.
  bool read(std::string_view bytes) {
    std::size_t at = 0;
    while (true) {
      skip_blank_lines(bytes, at);
      if (at >= bytes.size()) break;
      Row row;
      for (int f = 0; f < 4; ++f)
        if (!read_field(bytes, at, row[static_cast<std::size_t>(f == 3 ? 6 : f + 1)])) return false;
      rows.push_back(row);
      if (rows.size() == 2 && rows[0][1].empty()) rows.erase(rows.begin());
    }
    recompute();
    return true;
  }

  std::string write() const {
    std::string out;
    for (const Row& row : rows) {
      for (int c : {1, 2, 3, 6}) {
        out += '"';
        for (char ch : row[static_cast<std::size_t>(c)]) {
          out += ch;
          if (ch == '"') out += ch;
        }
        out += c == 6 ? "\"\r\n" : "\",";
      }
    }
    return out;
  }

  void recompute() {
    if (rows.empty()) return;
    // Rows without a Directory go, from the bottom up, while more than one is left.
    if (std::any_of(rows.begin(), rows.end(), [](const Row& row) { return !row[1].empty(); }))
      std::erase_if(rows, [](const Row& row) { return row[1].empty(); });
    else
      rows.resize(1);
    std::vector<std::pair<double, Row>> keyed;
    for (Row& row : rows) keyed.emplace_back(score_sort_value(row[3]), std::move(row));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) rows[i] = std::move(keyed[i].second);
    const int n = static_cast<int>(rows.size());
    for (int i = 1; i <= n; ++i) {
      Row& row = rows[static_cast<std::size_t>(i - 1)];
      row[0] = std::to_string(i);
      if (!is_numeric(row[3])) row[3] = "0";
      if (!parse_date_text(row[6])) row[6] = kNeverPlayed;
      const Row* above = i > 1 ? &rows[static_cast<std::size_t>(i - 2)] : nullptr;
      row[4] = above && (*above)[3] == row[3] ? (*above)[4] : rank_text(static_cast<double>(n - i + 1) / n * 100.0);
    }
  }

 private:
  static bool separator(char c) { return c == ',' || c == '\r' || c == '\n'; }

  static void skip_blank_lines(std::string_view in, std::size_t& at) {
    std::size_t p = at;
    for (; p < in.size() && (in[p] == ' ' || in[p] == '\r' || in[p] == '\n'); ++p)
      if (in[p] != ' ') at = p + 1;
    if (p >= in.size()) at = in.size();
  }

  // A quoted field (a doubled quote inside stands for one; whatever follows
  // the closing quote up to the separator is dropped) or a bare one (blanks
  // around it dropped), and its separator.
  static bool read_field(std::string_view in, std::size_t& at, std::string& field) {
    if (at >= in.size()) return false;
    while (at < in.size() && in[at] == ' ') ++at;
    if (at < in.size() && in[at] == '"') {
      for (++at;;) {
        const std::size_t quote = std::min(in.find('"', at), in.size());
        field.append(in.substr(at, quote - at));
        at = quote + 1;
        if (at >= in.size() || in[at] != '"') break;
        field += '"';
        ++at;
      }
      at = std::min(at, in.size());
      while (at < in.size() && !separator(in[at])) ++at;
    } else {
      const std::size_t begin = at;
      while (at < in.size() && !separator(in[at])) ++at;
      std::size_t stop = at;
      while (stop > begin && in[stop - 1] == ' ') --stop;
      field.assign(in.substr(begin, stop - begin));
    }
    if (at < in.size()) at += in[at] == '\r' && at + 1 < in.size() && in[at + 1] == '\n' ? 2 : 1;
    return true;
  }
};

}  // namespace jukora::testing
