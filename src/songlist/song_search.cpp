// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/song_search.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/app_folders.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// No path on a disk is longer; a field of megabytes would hold up every
// keystroke, and its tail holds no name the user would type.
constexpr std::size_t kMostSearchedBytes = 4096;

std::string_view searched_part(std::string_view text) {
  if (text.size() <= kMostSearchedBytes) return text;
  std::size_t cut = kMostSearchedBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

bool is_ascii(std::string_view text) {
  // Eight bytes at a time: no byte of plain ASCII has its top bit set.
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if (word & 0x8080808080808080u) return false;
  }
  for (; at < text.size(); ++at)
    if (static_cast<unsigned char>(text[at]) >= 0x80) return false;
  return true;
}

void append_lowered(std::string& out, std::string_view text) {
  const std::size_t at = out.size();
  out.resize(at + text.size());
  std::transform(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

SongSearch::SongSearch(Fold fold) : fold_(std::move(fold)) {}

void SongSearch::set_query(std::string_view query) {
  std::string folded;
  if (is_ascii(query))
    append_lowered(folded, query);
  else
    folded = fold_(query);
  words_.clear();
  std::size_t at = 0;
  while (at < folded.size()) {
    while (at < folded.size() && is_blank(folded[at])) ++at;
    std::size_t end = at;
    while (end < folded.size() && !is_blank(folded[end])) ++end;
    if (end > at) words_.emplace_back(folded, at, end - at);
    at = end;
  }
}

bool SongSearch::folded_for(const Songlist& songlist) const {
  return folded_ && folded_revision_ == songlist.content_revision();
}

void SongSearch::fold_ahead(const Songlist& songlist) {
  if (!folded_for(songlist)) fold_rows(songlist);
}

void SongSearch::fold_rows(const Songlist& songlist) {
  const int rows = songlist.Rows();
  // Kept at its size from one fold to the next.
  text_.clear();
  ends_.assign(1, 0);
  std::string joined;
  for (int row = 1; row < rows; ++row) {
    const std::string_view directory = searched_part(songlist.directory(row));
    const std::string_view file = searched_part(songlist.file(row));
    // The blank row of an empty list holds no song to find.
    if (directory.empty()) {
      ends_.push_back(text_.size());
      continue;
    }
    if (is_ascii(directory) && is_ascii(file)) {
      append_lowered(text_, directory);
      text_ += kPathSeparator;
      append_lowered(text_, file);
    } else {
      joined.assign(directory);
      joined += kPathSeparator;
      joined += file;
      text_ += fold_(joined);
    }
    ends_.push_back(text_.size());
  }
  folded_revision_ = songlist.content_revision();
  folded_ = true;
}

bool SongSearch::matches(std::size_t index) const {
  const std::string_view text = std::string_view(text_).substr(ends_[index], ends_[index + 1] - ends_[index]);
  return std::all_of(words_.begin(), words_.end(),
                     [&](const std::string& word) { return text.find(word) != std::string_view::npos; });
}

bool SongSearch::narrows(const std::vector<std::string>& before) const {
  return std::all_of(before.begin(), before.end(), [&](const std::string& old) {
    return std::any_of(words_.begin(), words_.end(),
                       [&](const std::string& word) { return word.find(old) != std::string::npos; });
  });
}

const std::vector<int>& SongSearch::shown(const Songlist& songlist) {
  if (!active()) {
    shown_.clear();
    shown_valid_ = false;
    return shown_;
  }
  const bool same_list = folded_for(songlist);
  if (!same_list) fold_rows(songlist);
  if (same_list && shown_valid_ && shown_revision_ == folded_revision_) {
    if (shown_words_ == words_) return shown_;
    if (narrows(shown_words_)) {
      std::erase_if(shown_, [&](int row) { return !matches(static_cast<std::size_t>(row - 1)); });
      shown_words_ = words_;
      return shown_;
    }
  }
  shown_.clear();
  for (std::size_t i = 0; i + 1 < ends_.size(); ++i)
    if (matches(i)) shown_.push_back(static_cast<int>(i + 1));
  shown_words_ = words_;
  shown_revision_ = folded_revision_;
  shown_valid_ = true;
  return shown_;
}

}  // namespace jukora
