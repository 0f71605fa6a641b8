// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpd/mpd_paths.h"

#include "platform/app_folders.h"
#include "platform/local_path.h"
#include "platform/name_limits.h"
#include "player/raw_bytes.h"

namespace jukora {

namespace {

// Segments joined by single "/", none of them "." or "..": a name that
// stays where it is put.
bool is_plain_relative(std::string_view path) {
  if (path.empty()) return false;
  for (;;) {
    auto end = path.find('/');
    std::string_view segment = path.substr(0, end);
    if (segment.empty() || segment == "." || segment == "..") return false;
    if (end == std::string_view::npos) return true;
    path.remove_prefix(end + 1);
  }
}

// "http://", "nfs://": a stream or a storage of MPD's own, no local file.
bool has_scheme(std::string_view text) {
  auto colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0) return false;
  for (char c : text.substr(0, colon))
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
          c == '.'))
      return false;
  return true;
}

// The part of `path` below `folder`, or nothing when it does not lie there.
std::string_view below(std::string_view path, std::string_view folder) {
  if (folder.empty()) return {};
  if (folder == "/") return path.substr(1);
  if (!path.starts_with(folder) || path.size() <= folder.size() + 1 || path[folder.size()] != '/') return {};
  return path.substr(folder.size() + 1);
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

MpdTarget mpd_target(std::string_view song_path, std::string_view music_folder, bool local_socket) {
  MpdTarget target;
  if (!is_local_file_path(song_path)) {
    target.refusal = quoted(song_path) + " is not a file on this computer.";
  } else if (song_path.find_first_of("\r\n") != std::string_view::npos) {
    // MPD reads one command a line: a line break would end this one and
    // start another.
    target.refusal = quoted(song_path) + " holds a line break, which MPD cannot take in a file name.";
  } else if (!is_valid_utf8(song_path)) {
    target.refusal = quoted(song_path) + " is not a UTF-8 name, and MPD takes no other.";
  } else if (std::string_view inside = below(song_path, music_folder); is_plain_relative(inside)) {
    target.uri = inside;
    target.in_music_folder = true;
  } else if (local_socket) {
    target.uri = song_path;
  } else if (music_folder.empty()) {
    target.refusal = quoted(song_path) +
                     " cannot be handed to MPD over the network without its music folder: set the folder in "
                     "Preferences.";
  } else {
    target.refusal = quoted(song_path) + " lies outside MPD's music folder " + quoted(music_folder) +
                     ", and MPD plays such files only over a local socket.";
  }
  return target;
}

MpdSongPath local_song_path(std::string_view file, std::string_view music_folder, bool local_socket) {
  if (file.empty() || has_scheme(file)) return {};
  if (file.size() > kLongestPath) return {{}, "MPD names its song by a name longer than any path here", true};
  if (file.starts_with('/')) {
    const bool inside = is_plain_relative(below(file, music_folder));
    if (!is_plain_relative(file.substr(1)) || (!local_socket && !inside))
      return {{}, "MPD plays " + quoted(file) + ", which is not a file Jukora can find on this computer", true};
    return {std::string(file), {}};
  }
  if (!is_plain_relative(file))
    return {{}, "MPD names its song " + quoted(file) + ", which points outside its music folder", true};
  if (music_folder.empty())
    return {{},
            "MPD plays " + quoted(file) +
                " from its music folder: set that folder in Preferences so that Jukora can find the song."};
  return {join_path(music_folder, file), {}};
}

}  // namespace jukora
