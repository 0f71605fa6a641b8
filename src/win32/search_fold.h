// SPDX-License-Identifier: GPL-3.0-or-later
// The form the search compares songs in on Windows: case folded, accents and
// other marks taken off, compatibility forms read as their plain letters, so
// that "bjork" finds "Björk" and "ETE" finds "été".
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// Text in the ANSI code page in, its folded form out (UTF-8).
std::string fold_for_search(std::string_view local);

}  // namespace jukora
