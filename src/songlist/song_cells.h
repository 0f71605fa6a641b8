// SPDX-License-Identifier: GPL-3.0-or-later
// The typed cells of a song: its Score, a whole number, and its Last Played,
// a time point to the second. Text is made where a cell is shown or written
// and read where it comes in. A cell read from text that is not the
// canonical form of its value (a Score "05", "+5", "2.5" or "abc"; a date
// with seconds or a four-digit year) keeps that text beside the value, and
// is shown and written back exactly as it was read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace jukora {

class Score {
 public:
  Score() = default;
  explicit Score(std::int64_t whole) : whole_(whole) {}
  // The Score a text stands for: a number is taken to its whole value
  // (halves to even); any other text counts as 0 and stays as it is.
  static Score read(std::string_view text);

  // The whole value a step counts from.
  std::int64_t whole() const { return whole_; }
  // The value the list sorts by: the text's own number when it is not
  // whole ("2.5"), 0 for text that is no number.
  double sort_value() const;
  // Whether the text reads as a number; a recompute repairs one that does not.
  bool numeric() const;
  bool canonical() const { return !raw_; }
  std::string text() const;
  // The whole value after a step, held within the 32-bit range.
  Score stepped(int step) const;
  // The whole value within the 32-bit range, for those who take no more.
  std::int32_t clamped() const;

  // Equal Scores show the same text.
  friend bool operator==(const Score&, const Score&) = default;

 private:
  friend class Songlist;
  Score(std::int64_t whole, std::string raw) : whole_(whole), raw_(std::move(raw)) {}

  std::int64_t whole_ = 0;
  std::optional<std::string> raw_;
};

class LastPlayed {
 public:
  // 00:00 1/1/71, a song never played.
  LastPlayed() = default;
  // The minute `when` lies in, as the program writes a play's time.
  explicit LastPlayed(const DateTime& when);
  // The date a text stands for, two-digit years read around `current_year`;
  // text that is no date stays as it is.
  static LastPlayed read(std::string_view text, int current_year);
  static LastPlayed read(std::string_view text);

  bool is_date() const { return date_; }
  bool canonical() const { return !raw_; }
  bool never_played() const { return date_ && key_ == never_key(); }
  // The time; a song never played for text that is no date.
  DateTime when() const;
  // The hour number (see date_text.h) of the time, or of a song never
  // played for text that is no date.
  std::int64_t hour_number() const;
  std::string text() const;
  // Whether this is a date later than `other`, or than no date at all.
  bool later_than(const LastPlayed& other) const;

  friend bool operator==(const LastPlayed&, const LastPlayed&) = default;

  // The time packed so that later times give larger keys.
  static std::uint64_t key_of(const DateTime& when);
  static DateTime time_of(std::uint64_t key);
  static std::uint64_t never_key();

 private:
  friend class Songlist;
  LastPlayed(std::uint64_t key, bool date, std::optional<std::string> raw)
      : key_(key), date_(date), raw_(std::move(raw)) {}

  std::uint64_t key_ = never_key();
  bool date_ = true;
  std::optional<std::string> raw_;
};

// The canonical texts of a whole Score and of a packed time, written into
// `out` (at least 24 bytes); the length written.
std::size_t write_score_text(std::int64_t whole, char* out);
std::size_t write_date_text(std::uint64_t key, char* out);

// The cells a text reads as, for the table's rows: the value, and whether
// the text is the value's own (then no raw text is kept). A Score that is no
// number, or a Last Played that is no date, is flagged.
struct ReadScore {
  std::int64_t whole = 0;
  bool numeric = true;
  bool canonical = true;
};
ReadScore read_score(std::string_view text);
struct ReadDate {
  std::uint64_t key = 0;
  bool date = true;
  bool canonical = true;
};
ReadDate read_date(std::string_view text, int current_year);

}  // namespace jukora
