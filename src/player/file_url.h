// SPDX-License-Identifier: GPL-3.0-or-later
// Local files as "file://" URLs and back, byte for byte: file names are
// bytes, not text, so a byte that is not UTF-8 survives the trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jukora {

// "file://" and the path's bytes, each one that is not plain ASCII letter,
// digit, "-._~" or "/" written as %XX.
std::string file_url_from_path(std::string_view path);

// The local path a file URL names, its %XX decoded byte by byte. Nothing for
// anything else: another scheme (a stream, a CD), a host other than
// "localhost", a relative path, or a NUL byte.
std::optional<std::string> path_from_file_url(std::string_view url);

}  // namespace jukora
