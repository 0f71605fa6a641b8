// SPDX-License-Identifier: GPL-3.0-or-later
// A folder only this user can enter, for the program's own local sockets
// (its mpv's control socket, the command-line remote): who can reach such a
// socket can give commands. POSIX only.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace jukora {

// Creates `path` with mode 0700, or accepts it when it already is a real
// folder (not a link) owned by this user that nobody else can enter. False
// for anything else; such a folder is never loosened or taken over.
bool make_private_folder(const std::string& path);

// Writes a line to stderr and to the system log.
void tell_stderr_and_log(const std::string& text);

// The program's private folder for its sockets: `jukora` under
// XDG_RUNTIME_DIR, else /tmp/jukora-<uid>, else `sockets` in the data folder
// (where /tmp is unsafe); the first one that can be made private and whose
// socket paths (up to `longest_name` more bytes) fit a socket address. Made
// afresh on every call, since a sweep of /tmp may have taken it away. Empty
// when none can be had. When a folder that is there is refused (a link,
// another user's, open to others) and another is used, `tell` hears it once
// per refused folder in this process, naming both; by default the words go
// to stderr and the system log.
std::string private_socket_folder(const std::string& data_folder, std::size_t longest_name = 16,
                                  const std::function<void(const std::string&)>& tell = tell_stderr_and_log);

enum class SocketCheck {
  kMissing,    // nothing there
  kOwnSocket,  // a socket (not a link to one) owned by this user
  kForeign,    // anything else: a link, a file, another user's socket
};

// What is at `path`, without following a link.
SocketCheck check_own_socket(const std::string& path);

// Whether the process at the other end of a connected local socket runs as
// this user; false when the system cannot tell.
bool peer_is_this_user(int fd);

}  // namespace jukora
