// SPDX-License-Identifier: GPL-3.0-or-later
// The source a choice names, built from whichever backends this build has:
// the one place the shell asks for "ratings from X".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ratings/rating_source.h"
#include "ratings/source_choice.h"

namespace jukora {

class SettingsStore;
class Songlist;

struct OpenedSource {
  std::shared_ptr<RatingSource> source;  // null when it cannot be read here
  std::string problem;                   // why not, for the user
};

// Opens the source of `choice`; MPD's place is read from `settings` now, on
// the caller's thread.
OpenedSource open_source(const SourceChoice& choice, const SettingsStore& settings);
// The tags of the given files and folders (the list's own songs, or what the
// user picked).
OpenedSource open_tag_source(std::vector<std::string> files_and_folders);

// The local files the list holds, for an import of their tags.
std::vector<std::string> listed_song_paths(const Songlist& songlist);

}  // namespace jukora
