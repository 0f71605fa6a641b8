// SPDX-License-Identifier: GPL-3.0-or-later
// Ratings from Rhythmbox: its rhythmdb.xml, read as a stream with Qt's XML
// reader (entries of type "song": location as a file URI, rating 0-5 stars,
// last-played in Unix seconds). A document type declaration, and so any
// entity of its own, is refused: Rhythmbox never writes one, and an entity
// is how an XML bomb explodes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ratings/rating_source.h"

namespace jukora {

// Larger than any rhythmdb.xml (100,000 songs take about 100 MB).
inline constexpr std::int64_t kMaxRhythmdbBytes = std::int64_t{1} << 30;

std::unique_ptr<RatingSource> rhythmdb_source(const std::string& path);

}  // namespace jukora
