// A folder only this user can enter, for the player's control socket: who
// can reach the socket can send the player commands (POSIX only).
#pragma once

#include <string>

namespace jukora {

// Creates `path` with mode 0700, or accepts it when it already is a real
// folder (not a link) owned by this user that nobody else can enter. False
// for anything else; such a folder is never loosened or taken over.
bool make_private_folder(const std::string& path);

}  // namespace jukora
