// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/dir_listing.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/native_path.h"

namespace jukora {

namespace fs = std::filesystem;

namespace {

// Letter case ignored first, as file managers show names; bytes break ties so
// the order never depends on how the directory happens to be stored.
bool name_before(const std::string& a, const std::string& b) {
  auto folded_less = [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded_less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded_less)) return false;
  return a < b;
}

}  // namespace

DirectoryReading::DirectoryReading(const std::string& dir) : it_(native_path(dir), error_) {}

DirectoryReading::Result DirectoryReading::read(DirListing& out, const std::function<bool()>& more) {
  const fs::directory_iterator end;
  for (; !error_ && it_ != end; it_.increment(error_)) {
    if (!asked_ && !more()) {
      asked_ = true;
      return Result::kMore;
    }
    asked_ = false;
    const fs::directory_entry& entry = *it_;
    std::optional<std::string> local_name = local_text(entry.path().filename());
    if (!local_name) continue;  // a name the local 8-bit encoding cannot hold: no path to list it by
    std::string name = std::move(*local_name);
    if (is_hidden_entry(entry)) continue;
    std::error_code type_error;
    // Both follow links; a dangling link is neither and drops out here.
    if (entry.is_directory(type_error)) {
      std::error_code link_error;
      out.subdirs.push_back({std::move(name), entry.is_symlink(link_error)});
    } else if (!type_error && entry.is_regular_file(type_error)) {
      out.files.push_back(std::move(name));
    }
  }
  if (error_) return Result::kFailed;
  std::sort(out.files.begin(), out.files.end(), name_before);
  std::sort(out.subdirs.begin(), out.subdirs.end(),
            [](const DirListing::Subdir& a, const DirListing::Subdir& b) { return name_before(a.name, b.name); });
  return Result::kDone;
}

bool list_directory(const std::string& dir, DirListing& out) {
  out = {};
  return DirectoryReading(dir).read(out, [] { return true; }) == DirectoryReading::Result::kDone;
}

}  // namespace jukora
