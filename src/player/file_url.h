// SPDX-License-Identifier: GPL-3.0-or-later
// Local files as "file://" URLs and back, byte for byte: file names are
// bytes, not text, so a byte that is not UTF-8 survives the trip.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/name_limits.h"

namespace jukora {

// The longest URL a local file can have: "file://localhost" and the longest
// path with every byte escaped. A longer one is no song, whatever it says,
// and is not decoded at all.
inline constexpr std::size_t kLongestFileUrl = 16 + 3 * kLongestPath;

// "file://" and the path's bytes, each one that is not plain ASCII letter,
// digit, "-._~" or "/" written as %XX.
std::string file_url_from_path(std::string_view path);

// The local path a file URL names, its %XX decoded byte by byte. Nothing for
// anything else: another scheme (a stream, a CD), a host other than
// "localhost", a relative path, a NUL byte, an escaped "/" (a name holding
// "/" is no file here, and the escape is never taken as a separator), or a
// URL longer than kLongestFileUrl.
std::optional<std::string> path_from_file_url(std::string_view url);
// Why a "file:" URL names no local file, for the user; empty for one that
// does and for URLs of other schemes (streams say nothing about files).
std::string file_url_problem(std::string_view url);

}  // namespace jukora
