#include "songlist/songlist_format.h"

#include "songlist/songlist.h"

namespace jukora {

namespace {

void append_field(std::string& out, std::string_view text) {
  out.push_back('"');
  for (auto quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
    out.append(text.substr(0, quote + 1));
    out.push_back('"');
    text.remove_prefix(quote + 1);
  }
  out.append(text);
  out.push_back('"');
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
  const int rows = songlist.Rows();
  // About a hundred bytes a record; a second pass to measure would cost a
  // walk over every row.
  out.reserve(static_cast<std::size_t>(rows) * 112);
  for (int i = 1; i < rows; ++i) {
    append_field(out, songlist.TextMatrix(i, col::kDirectory));
    out.push_back(',');
    append_field(out, songlist.TextMatrix(i, col::kFile));
    out.push_back(',');
    append_field(out, songlist.TextMatrix(i, col::kScore));
    out.push_back(',');
    append_field(out, songlist.TextMatrix(i, col::kLastPlayed));
    out.append("\r\n");
  }
  return out;
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
