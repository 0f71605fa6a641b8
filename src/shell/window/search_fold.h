// SPDX-License-Identifier: GPL-3.0-or-later
// The form a search compares songs in: case folded, accents and other marks
// taken off, compatibility forms (ligatures, full-width letters) read as
// their plain letters, so that "Bjork" finds "Björk" and "ETE" finds "été".
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// Local 8-bit text in, its folded form out (UTF-8).
std::string fold_for_search(std::string_view text);

}  // namespace jukora
