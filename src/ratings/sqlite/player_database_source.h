// SPDX-License-Identifier: GPL-3.0-or-later
// Ratings from Strawberry's or Clementine's SQLite database, told apart by
// their "songs" table (Strawberry names a song by "url", Clementine by
// "filename"; both keep "rating" as 0.0-1.0, -1 unrated, and "lastplayed" in
// Unix seconds). Read through Qt SQL's SQLite driver, and only ever read: the
// file is opened read-only, copied through SQLite's backup API into a private
// database in memory (so that a player using it at the same time, in WAL
// mode or not, is never held up and never sees a half-read), and the copy is
// read as data with the schema's own code distrusted.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "ratings/rating_source.h"

namespace jukora {

// A library of 100,000 songs takes about 150 MB.
inline constexpr std::int64_t kMaxPlayerDatabaseBytes = std::int64_t{512} << 20;
// How long a database locked by its player is waited for, and the whole read
// may take.
inline constexpr std::chrono::seconds kPlayerDatabaseDeadline{20};

std::unique_ptr<RatingSource> player_database_source(const std::string& path,
                                                     std::chrono::milliseconds deadline = kPlayerDatabaseDeadline);

}  // namespace jukora
