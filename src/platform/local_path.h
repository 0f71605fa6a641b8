// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule that keeps songlist rows from reaching a player as anything
// but a file: players and behaviour alike ask it.
#pragma once

#include <string_view>

namespace jukora {

// Whether the text names a file on this computer, and nothing else: on POSIX
// an absolute path ("/..."); on Windows a drive path ("X:\...") or a UNC path
// ("\\host\share\..."), never a device path ("\\?\", "\\.\"). A scheme
// ("av://", "https://"), a relative path or an option is not. Songlists are
// shared files: only such paths are ever handed to a player.
bool is_local_file_path(std::string_view path);

}  // namespace jukora
