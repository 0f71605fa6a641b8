// SPDX-License-Identifier: GPL-3.0-or-later
// The longest file name and path the system takes, in bytes of local text:
// anything longer that a player or a server names cannot be a file here.
#pragma once

#include <cstddef>

namespace jukora {

#ifdef _WIN32
// Long paths reach 32,767 UTF-16 units; a name has at most 255.
inline constexpr std::size_t kLongestPath = 32767;
#else
// Linux's PATH_MAX (with its NUL) and NAME_MAX.
inline constexpr std::size_t kLongestPath = 4095;
#endif
inline constexpr std::size_t kLongestName = 255;

}  // namespace jukora
