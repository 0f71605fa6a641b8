// SPDX-License-Identifier: GPL-3.0-or-later
// A song the player names, checked before it is scored as an unlisted song
// or joins the list: players may be buggy or hostile, and a row is shared
// data. Only a name of one line, within the system's limits, that is a
// regular file the user can read becomes a row; its folder is spelled
// plainly, without "." or ".." in it.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace jukora {

struct ReportedSong {
  std::string path;     // the song to list; empty when it is no song
  std::string problem;  // why it is no song, for the user: "\"a.wav\" cannot be listed: it does not exist."
};

// What is at a path, as the check needs to know it.
struct SongFileLook {
  enum class Kind { kRegular, kMissing, kOther, kUnreadable, kNoAnswer };
  Kind kind = Kind::kNoAnswer;
  // The path with its folder spelled out by the system, where the player's
  // spelling held ".", ".." or a doubled separator; else the path itself.
  std::string resolved;
};

// Looks at the file on a worker thread, within `deadline`.
SongFileLook look_at_song_file(const std::string& path, std::chrono::milliseconds deadline);

// The checks that need no look at the disk: the problem, or nothing.
std::optional<std::string> song_name_problem(std::string_view path);

// The whole check, the file looked at through `look`.
ReportedSong check_reported_song(const std::string& path, const std::function<SongFileLook(const std::string&)>& look);

// A name as the user is shown it: quoted, its file name only, control
// characters as "?", and cut short when long.
std::string shown_song(std::string_view path);

}  // namespace jukora
