// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/raw_bytes.h"

#include <cstdint>

namespace jukora {

namespace {

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0.
std::size_t valid_sequence(std::string_view s) {
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  auto in = [&](std::size_t i, std::uint8_t low, std::uint8_t high) {
    return i < s.size() && at(i) >= low && at(i) <= high;
  };
  std::uint8_t lead = at(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return in(1, 0x80, 0xBF) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    // No overlong forms (E0 A0..) and no surrogates (ED ..9F).
    std::uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
    std::uint8_t high = lead == 0xED ? 0x9F : 0xBF;
    return in(1, low, high) && in(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    // Nothing overlong (F0 90..) and nothing past U+10FFFF (F4 ..8F).
    std::uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
    std::uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
    return in(1, low, high) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t length = valid_sequence(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

std::string bytes_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    std::size_t length = valid_sequence(bytes);
    if (length > 0) {
      out.append(bytes.substr(0, length));
      bytes.remove_prefix(length);
      continue;
    }
    // U+10FF00 + b: F4 8F (BC + b / 64) (80 + b % 64); b is at least 0x80 here.
    auto b = static_cast<std::uint8_t>(bytes.front());
    out.push_back(static_cast<char>(0xF4));
    out.push_back(static_cast<char>(0x8F));
    out.push_back(static_cast<char>(0xBC + (b >> 6)));
    out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    bytes.remove_prefix(1);
  }
  return out;
}

std::string utf8_to_bytes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  while (!text.empty()) {
    if (text.size() >= 4 && at(0) == 0xF4 && at(1) == 0x8F && (at(2) == 0xBE || at(2) == 0xBF) && at(3) >= 0x80 &&
        at(3) <= 0xBF) {
      out.push_back(static_cast<char>(((at(2) - 0xBC) << 6) | (at(3) & 0x3F)));
      text.remove_prefix(4);
      continue;
    }
    out.push_back(text.front());
    text.remove_prefix(1);
  }
  return out;
}

}  // namespace jukora
