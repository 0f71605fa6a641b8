// SPDX-License-Identifier: GPL-3.0-or-later
// Which kind of source a command-line argument or a picked path names, and
// where each player keeps its ratings, for the import to offer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jukora {

enum class SourceKind {
  kRhythmbox,  // rhythmdb.xml
  kDatabase,   // a SQLite database: Strawberry's or Clementine's, told by its schema
  kMpd,        // MPD's stickers, on the MPD in Preferences
  kTags,       // a folder or an audio file: the tags of its songs
  kNone,       // nothing Jukora reads ratings from
};

struct SourceChoice {
  SourceKind kind = SourceKind::kNone;
  std::string path;     // empty for kMpd
  std::string problem;  // kNone: why, for the user
};

// "mpd", a folder, an audio file, a rhythmdb.xml (by its first bytes) or a
// SQLite database (by its header). Reads at most a few kilobytes.
SourceChoice choose_source(std::string_view argument);

// The argument in the spelling the list holds its paths in, which another
// process can read whatever its own working folder: "mpd" as it is, a path
// cleaned against `folder`, the caller's working folder (see clean_path).
std::string absolute_source_argument(std::string_view argument, std::string_view folder);

struct KnownSource {
  std::string player;  // "Rhythmbox", "Strawberry", "Clementine"
  std::string path;
};

// The players' own places under the home folder (XDG_DATA_HOME and
// XDG_CONFIG_HOME when set), whether or not they exist.
std::vector<KnownSource> known_sources(std::string_view home, std::string_view data_home, std::string_view config_home);

}  // namespace jukora
