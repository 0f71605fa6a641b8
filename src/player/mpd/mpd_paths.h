// SPDX-License-Identifier: GPL-3.0-or-later
// Songs as MPD names them, and back: a file inside MPD's music folder by its
// path relative to that folder (the name in MPD's database); any other local
// file by its absolute path, which MPD takes only over a local socket.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

struct MpdTarget {
  std::string uri;  // what to send; empty when the song cannot be handed over
  bool in_music_folder = false;
  std::string refusal;  // why not, for the user
};

// How to hand `song_path` to MPD. `music_folder` is the folder as this
// computer sees it (no trailing "/"; empty when unknown); `local_socket`
// whether MPD is reached over a local socket.
MpdTarget mpd_target(std::string_view song_path, std::string_view music_folder, bool local_socket);

struct MpdSongPath {
  std::string path;     // the local absolute path; empty for no song
  std::string message;  // why the song MPD plays cannot be named here, when it matters to the user
};

// The local path of the song MPD names as `file` (its "file:" line).
// Streams and an empty queue are no song. A relative name is only ever
// joined to the music folder when it stays inside it; an absolute one is
// only taken when `this_computer` (MPD runs here, so its paths are ours).
MpdSongPath local_song_path(std::string_view file, std::string_view music_folder, bool this_computer);

}  // namespace jukora
