#include "songlist/songlist_format.h"

#include "songlist/songlist.h"

namespace jukora {

namespace {

// Hands the file text of every data row to `put` piece by piece, until `put`
// answers false.
template <typename Put>
bool put_records(const Songlist& songlist, Put&& put) {
  auto field = [&put](std::string_view text) {
    if (!put("\"")) return false;
    for (auto quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
      if (!put(text.substr(0, quote + 1)) || !put("\"")) return false;
      text.remove_prefix(quote + 1);
    }
    return put(text) && put("\"");
  };
  const int rows = songlist.Rows();
  for (int i = 1; i < rows; ++i) {
    if (!field(songlist.TextMatrix(i, col::kDirectory)) || !put(",") || !field(songlist.TextMatrix(i, col::kFile)) ||
        !put(",") || !field(songlist.TextMatrix(i, col::kScore)) || !put(",") ||
        !field(songlist.TextMatrix(i, col::kLastPlayed)) || !put("\r\n"))
      return false;
  }
  return true;
}

// The field reader: reads one field at a time from a stream of fields.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : in_(bytes) {}

  bool at_end() const { return pos_ >= in_.size(); }

  // Blank lines between records are not records.
  void skip_blank_lines() {
    std::size_t p = pos_;
    while (p < in_.size() && (in_[p] == ' ' || in_[p] == '\r' || in_[p] == '\n')) {
      if (in_[p] == '\n' || in_[p] == '\r') pos_ = p + 1;
      ++p;
    }
    if (p >= in_.size()) pos_ = in_.size();
  }

  // False when no data is left: reading past the end is an error.
  bool read(std::string& field) {
    field.clear();
    if (at_end()) return false;
    while (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    if (pos_ < in_.size() && in_[pos_] == '"') {
      ++pos_;
      while (pos_ < in_.size()) {
        auto quote = in_.find('"', pos_);
        if (quote == std::string_view::npos) quote = in_.size();
        field.append(in_.substr(pos_, quote - pos_));
        pos_ = quote + 1;
        // A doubled quote inside the field stands for one quote.
        if (pos_ < in_.size() && in_[pos_] == '"') {
          field.push_back('"');
          ++pos_;
        } else {
          break;
        }
      }
      if (pos_ > in_.size()) pos_ = in_.size();
      // Whatever follows the closing quote up to the separator is ignored.
      while (pos_ < in_.size() && !is_separator(in_[pos_])) ++pos_;
    } else {
      std::size_t start = pos_;
      while (pos_ < in_.size() && !is_separator(in_[pos_])) ++pos_;
      std::size_t stop = pos_;
      while (stop > start && in_[stop - 1] == ' ') --stop;
      field.assign(in_.substr(start, stop - start));
    }
    take_separator();
    return true;
  }

 private:
  static bool is_separator(char c) { return c == ',' || c == '\r' || c == '\n'; }

  void take_separator() {
    if (pos_ >= in_.size()) return;
    char c = in_[pos_++];
    if (c == '\r' && pos_ < in_.size() && in_[pos_] == '\n') ++pos_;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string songlist_file_text(const Songlist& songlist) {
  std::string out;
  // About a hundred bytes a record; a second pass to measure would cost a
  // walk over every row.
  out.reserve(static_cast<std::size_t>(songlist.Rows()) * 112);
  put_records(songlist, [&out](std::string_view piece) {
    out.append(piece);
    return true;
  });
  return out;
}

bool is_songlist_file_text(const Songlist& songlist, std::string_view bytes) {
  return put_records(songlist,
                     [&bytes](std::string_view piece) {
                       if (bytes.substr(0, piece.size()) != piece) return false;
                       bytes.remove_prefix(piece.size());
                       return true;
                     }) &&
         bytes.empty();
}

bool append_songlist_records(std::string_view bytes, Songlist& songlist) {
  FieldReader reader(bytes);
  std::string directory, file, score, last_played;
  while (true) {
    reader.skip_blank_lines();
    if (reader.at_end()) return true;
    if (!reader.read(directory) || !reader.read(file) || !reader.read(score) || !reader.read(last_played)) return false;
    songlist.add_cells({"", directory, file, score, "", "", last_played});
    if (songlist.Rows() == 3 && songlist.TextMatrix(1, col::kDirectory).empty()) songlist.RemoveItem(1);
    songlist.SetRow(songlist.Rows() - 1);
    songlist.SetCol(col::kFile);
  }
}

}  // namespace jukora
