// SPDX-License-Identifier: GPL-3.0-or-later
// How both windows name an Undo or Redo step in a menu: a long song name
// would widen the whole menu, so the label is cut in its middle, keeping
// what is done and the name's ending.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// About how many characters of a step a menu item shows.
inline constexpr int kStepChars = 48;

// `text` (UTF-16, as the system's wide calls take it) with its middle
// replaced by "…" so that it has at most `chars` characters; a shorter one
// as it is. A character of two units is never split.
std::wstring elide_middle(std::wstring_view text, int chars = kStepChars);

}  // namespace jukora
