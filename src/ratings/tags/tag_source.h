// SPDX-License-Identifier: GPL-3.0-or-later
// Ratings from the files' own tags: the songs of the list, or the files and
// folders the user picks (every audio file below a folder, found by the walk
// a drop makes: song_walk.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ratings/rating_source.h"

namespace jukora {

std::unique_ptr<RatingSource> tag_source(std::vector<std::string> files_and_folders);

}  // namespace jukora
