// SPDX-License-Identifier: GPL-3.0-or-later
// Other programs run by the ratings' tests (sox, ffmpeg, mutagen, mpc), and
// what they print.
#pragma once

#include <cstdio>
#include <string>

namespace jukora::testing {

inline std::string shell_quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// What the command prints; empty when it fails.
inline std::string output_of(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    if (pclose(pipe) != 0) out.clear();
  }
  return out;
}

}  // namespace jukora::testing
