// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

#include "platform/clock.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/recompute.h"
#include "songlist/song_row.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// How many rows ahead the writers ask the memory for a row.
constexpr int kPrefetchAhead = 8;

// Hands the text of one record to `put` piece by piece, until `put` answers
// false.
template <typename Put>
bool put_record(Put&& put, std::string_view directory, std::string_view file, std::string_view score,
                std::string_view last_played) {
  auto field = [&put](std::string_view text) {
    if (!put("\"")) return false;
    for (auto quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
      if (!put(text.substr(0, quote + 1)) || !put("\"")) return false;
      text.remove_prefix(quote + 1);
    }
    return put(text) && put("\"");
  };
  return field(directory) && put(",") && field(file) && put(",") && field(score) && put(",") && field(last_played) &&
         put("\r\n");
}

// The Score and Last Played texts of stored cells, made in `score` and `played`.
void cell_texts(const Songlist::StoredCells& cells, char (&score)[24], char (&played)[24], std::string_view& score_text,
                std::string_view& played_text) {
  score_text = cells.has_score_raw ? cells.score_raw : std::string_view(score, write_score_text(cells.score, score));
  played_text =
      cells.has_played_raw ? cells.played_raw : std::string_view(played, write_date_text(cells.played, played));
}

template <typename Put>
bool put_records(const Songlist& songlist, Put&& put) {
  const int rows = songlist.Rows();
  char score[24], played[24];
  for (int i = 1; i < rows; ++i) {
    songlist.prefetch(i + kPrefetchAhead);
    const Songlist::StoredCells cells = songlist.stored_cells(i);
    std::string_view score_text, played_text;
    cell_texts(cells, score, played, score_text, played_text);
    if (!put_record(put, cells.directory, cells.file, score_text, played_text)) return false;
  }
  return true;
}

// A comparer for put_record: whether the pieces make up `expected` exactly.
class Matches {
 public:
  explicit Matches(std::string_view expected) : rest_(expected) {}
  bool operator()(std::string_view piece) {
    if (rest_.substr(0, piece.size()) != piece) return false;
    rest_.remove_prefix(piece.size());
    return true;
  }
  bool all_matched() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// The field reader: reads one field at a time from a stream of fields.
class FieldReader {
 public:
  // How a field ended.
  enum class End { kComma, kLineEnd, kOther };

  explicit FieldReader(std::string_view bytes) : in_(bytes) {}

  bool at_end() const { return pos_ >= in_.size(); }
  std::size_t position() const { return pos_; }

  // Blank lines between records are not records.
  void skip_blank_lines() {
    std::size_t p = pos_;
    while (p < in_.size() && (in_[p] == ' ' || in_[p] == '\r' || in_[p] == '\n')) {
      if (in_[p] == '\n' || in_[p] == '\r') pos_ = p + 1;
      ++p;
    }
    if (p >= in_.size()) pos_ = in_.size();
  }

  // False when no data is left: reading past the end is an error. The field
  // is a view of the bytes read, or of `unquoted` when it held a doubled
  // quote. `as_written` tells whether the field and its separator are
  // exactly as Jukora writes them: quoted, nothing around the quotes, ended
  // by a comma or CR LF, which `end` tells apart.
  bool read(std::string_view& field, std::string& unquoted, bool& as_written, End& end) {
    if (at_end()) return false;
    const std::size_t start = pos_;
    while (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    as_written = pos_ == start && pos_ < in_.size() && in_[pos_] == '"';
    if (pos_ < in_.size() && in_[pos_] == '"') {
      ++pos_;
      auto quote = std::min(in_.find('"', pos_), in_.size());
      field = in_.substr(pos_, quote - pos_);
      pos_ = quote + 1;
      // A doubled quote inside the field stands for one quote.
      if (pos_ < in_.size() && in_[pos_] == '"') {
        unquoted.assign(field);
        while (pos_ < in_.size() && in_[pos_] == '"') {
          unquoted.push_back('"');
          quote = std::min(in_.find('"', pos_ + 1), in_.size());
          unquoted.append(in_.substr(pos_ + 1, quote - pos_ - 1));
          pos_ = quote + 1;
        }
        field = unquoted;
      }
      if (pos_ > in_.size()) {
        pos_ = in_.size();
        as_written = false;
      }
      // Whatever follows the closing quote up to the separator is ignored.
      const std::size_t closed = pos_;
      while (pos_ < in_.size() && !is_separator(in_[pos_])) ++pos_;
      if (pos_ != closed) as_written = false;
    } else {
      std::size_t begin = pos_;
      while (pos_ < in_.size() && !is_separator(in_[pos_])) ++pos_;
      std::size_t stop = pos_;
      while (stop > begin && in_[stop - 1] == ' ') --stop;
      field = in_.substr(begin, stop - begin);
    }
    end = take_separator();
    return true;
  }

 private:
  static bool is_separator(char c) { return c == ',' || c == '\r' || c == '\n'; }

  End take_separator() {
    if (pos_ >= in_.size()) return End::kOther;
    char c = in_[pos_++];
    if (c == ',') return End::kComma;
    if (c == '\r' && pos_ < in_.size() && in_[pos_] == '\n') {
      ++pos_;
      return End::kLineEnd;
    }
    return End::kOther;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};

// Reads the records of `bytes`, handing each one's four fields to
// `on_record`, and tells whether every record was written exactly as Jukora
// writes it, one after another with nothing in between. False when the last
// record is cut short.
template <typename OnRecord>
bool read_records(std::string_view bytes, bool& as_written, OnRecord&& on_record) {
  FieldReader reader(bytes);
  std::string_view fields[4];
  std::string unquoted[4];
  as_written = true;
  while (true) {
    const std::size_t end_of_last = reader.position();
    reader.skip_blank_lines();
    if (reader.position() != end_of_last) as_written = false;
    if (reader.at_end()) return true;
    for (int f = 0; f < 4; ++f) {
      bool field_as_written = false;
      FieldReader::End end = FieldReader::End::kOther;
      if (!reader.read(fields[f], unquoted[f], field_as_written, end)) {
        as_written = false;
        return false;
      }
      const FieldReader::End wanted = f == 3 ? FieldReader::End::kLineEnd : FieldReader::End::kComma;
      if (!field_as_written || end != wanted) as_written = false;
    }
    on_record(fields);
  }
}

// append_songlist_records, also telling whether the records are as Jukora
// writes them.
bool append_records(std::string_view bytes, Songlist& songlist, bool& as_written) {
  const int year = current_year();
  return read_records(bytes, as_written, [&songlist, year](const std::string_view(&fields)[4]) {
    songlist.add_record(fields[0], fields[1], fields[2], fields[3], year);
    if (songlist.Rows() == 3 && !songlist.is_song(1)) songlist.RemoveItem(1);
    songlist.SetRow(songlist.Rows() - 1);
    songlist.SetCol(col::kFile);
  });
}

// The whole records of `bytes` whose Score is not a number or whose Last
// Played is not a date (an empty one is a song never played), and how many
// whole records there are.
std::pair<int, int> odd_records(std::string_view bytes) {
  const int year = current_year();
  int odd = 0, records = 0;
  bool as_written = false;
  read_records(bytes, as_written, [&](const std::string_view(&fields)[4]) {
    ++records;
    if ((!fields[2].empty() && !is_numeric(fields[2])) || (!fields[3].empty() && !parse_hour_number(fields[3], year)))
      ++odd;
  });
  return {odd, records};
}

}  // namespace

std::string songlist_file_text(const Songlist& songlist) {
  std::string out, piece;
  for (int row = 1; row < songlist.Rows();) {
    row = append_songlist_text(songlist, row, piece);
    out += piece;
  }
  return out;
}

int append_songlist_text(const Songlist& songlist, int from, std::string& out) {
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  out.clear();
  auto put = [&out](std::string_view piece) {
    out.append(piece);
    return true;
  };
  const int rows = songlist.Rows();
  int i = std::max(from, 1);
  char score[24], played[24];
  for (; i < rows && out.size() < kPiece; ++i) {
    songlist.prefetch(i + kPrefetchAhead);
    const Songlist::StoredCells cells = songlist.stored_cells(i);
    std::string_view score_text, played_text;
    cell_texts(cells, score, played, score_text, played_text);
    if (cells.quoted) {
      put_record(put, cells.directory, cells.file, score_text, played_text);
      continue;
    }
    // Quotes, three separators and the line end around the four fields.
    constexpr std::size_t kFraming = 13;
    const std::size_t at = out.size();
    out.resize(at + kFraming + cells.directory.size() + cells.file.size() + score_text.size() + played_text.size());
    char* p = out.data() + at;
    auto field = [&p](std::string_view text, char after) {
      if (!text.empty()) std::memcpy(p, text.data(), text.size());
      p += text.size();
      *p++ = '"';
      *p++ = after;
    };
    *p++ = '"';
    field(cells.directory, ',');
    *p++ = '"';
    field(cells.file, ',');
    *p++ = '"';
    field(score_text, ',');
    *p++ = '"';
    field(played_text, '\r');
    *p = '\n';
  }
  return i;
}

bool is_songlist_file_text(const Songlist& songlist, std::string_view bytes) {
  Matches matches(bytes);
  return put_records(songlist, matches) && matches.all_matched();
}

bool append_songlist_records(std::string_view bytes, Songlist& songlist) {
  bool as_written = false;
  return append_records(bytes, songlist, as_written);
}

LoadedText load_songlist_text(std::string_view bytes, Songlist& songlist) {
  LoadedText loaded;
  loaded.whole = append_records(bytes, songlist, loaded.as_written);
  if (loaded.whole) {
    // Records as Jukora writes them that the recompute leaves as they are
    // (order, scores, dates, no empty rows) are what a save would write.
    const std::uint64_t before = songlist.content_revision();
    recompute_songlist(songlist);
    loaded.as_written = loaded.as_written && songlist.content_revision() == before;
  }
  // Only text Jukora would not write can hold what is no score or date;
  // its own files are not read twice for it.
  if (!loaded.as_written) std::tie(loaded.odd_records, loaded.records) = odd_records(bytes);
  return loaded;
}

}  // namespace jukora
