// SPDX-License-Identifier: GPL-3.0-or-later
// File names are bytes, but JSON text must be UTF-8: this carries bytes that
// are not valid UTF-8 through a JSON library and back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// Valid UTF-8 is copied; every other byte b becomes the private-use character
// U+10FF00 + b, so the result is always valid UTF-8. Names that really hold
// U+10FF80..U+10FFFF (unassigned private use) would not survive the round trip.
std::string bytes_to_utf8(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 throughout.
bool is_valid_utf8(std::string_view bytes);

// The inverse of bytes_to_utf8: U+10FF80..U+10FFFF turn back into the bytes they stand for.
std::string utf8_to_bytes(std::string_view text);

}  // namespace jukora
