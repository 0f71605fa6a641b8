// SPDX-License-Identifier: GPL-3.0-or-later
// Text for the console jukora.exe was started from. The program has no
// console of its own (it is a windows program), so it writes where its
// output was sent, or borrows the parent's console.
#pragma once

#include <string_view>

namespace jukora {

// Standard output (or the error stream); false when there is nowhere to write.
bool print_to_console(std::string_view text, bool error = false);

}  // namespace jukora
