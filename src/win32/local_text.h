// SPDX-License-Identifier: GPL-3.0-or-later
// Text crossing between the program, which holds it in the ANSI code page as
// its songlists do, and the system's wide calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

std::wstring wide(std::string_view local);

// Nothing when some character has no spelling in the code page: such text
// is never stored mangled.
std::optional<std::string> local(std::wstring_view wide);

// The program's own texts to the user: mostly in the code page, the names
// they hold always, but the punctuation its texts are written with (a dash,
// an ellipsis, quotes, an arrow) comes in UTF-8. Each valid UTF-8 sequence
// of three or four bytes is read as UTF-8, every other byte in the code page:
// such a sequence spells nothing a name would hold.
std::wstring wide_message(std::string_view text);

// For what is only shown or compared: characters without a spelling become '?'.
std::string local_shown(std::wstring_view wide);

// Paths that came from the system (a dialog, a drop): those with a spelling
// in the code page, and the names of those left out.
struct LocalPaths {
  std::vector<std::string> paths;
  std::vector<std::wstring> left_out;
};
LocalPaths local_paths(const std::vector<std::wstring>& paths);

// One sentence for everything an operation left out: how many, and the
// first few names.
std::string left_out_message(const std::vector<std::wstring>& paths);

}  // namespace jukora
