// SPDX-License-Identifier: GPL-3.0-or-later
// A path that a person typed, or another process handed over, in the one
// spelling the songlist holds for it: the same folder given as "./Music",
// "../Music" from inside it or "/home/u//Music/" is one folder, not three.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// `path` made absolute against `folder` (the caller's working folder), its
// "." segments and doubled or trailing separators dropped, and each ".."
// taken as the file system takes it: the folder that holds the one before
// it, which after a symbolic link is the folder that holds the link's
// target. Nothing else is resolved, and letter case stays as written: a
// link's own name is a name of its own. On Windows only made absolute.
std::string clean_path(std::string_view path, std::string_view folder);

// The working folder as the user knows it: the shell's spelling ($PWD) when
// it names this very folder, else the system's. Empty when there is none.
std::string working_folder();

// The working folder of the process at the other end of a connected local
// socket; empty when the system does not tell.
std::string peer_working_folder(int fd);

}  // namespace jukora
