// SPDX-License-Identifier: GPL-3.0-or-later
// Ratings in the files' own tags, through TagLib: what a file holds
// (ID3v2 POPM frames of any e-mail, TXXX:FMPS_Rating, Xiph FMPS_RATING,
// RATING and RATING:e-mail, MP4 and APE FMPS items) and the edit that puts a score into it
// (FMPS_Rating, and in ID3v2 a POPM frame of Jukora's own), leaving every
// other frame as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ratings/rating_scale.h"

namespace jukora {

// The e-mail of Jukora's own POPM frame.
inline constexpr const char* kPopmEmail = "Jukora";

// The rating of the file at `path`. Of several forms in one file the finest
// wins: FMPS (tenths), then POPM (Jukora's own frame, else the highest
// rating of any e-mail, and so for Vorbis RATING:e-mail), then Vorbis RATING. A file that is not what its
// name says, or that TagLib cannot open, reads as unrated.
ReadRating read_tag_rating(const std::string& path);

// Whether the file's tags already say the score as Jukora writes it, so
// that a write would change nothing.
bool tag_holds_score(const std::string& path, std::int64_t score);

enum class TagEdit {
  kDone,
  kNoRatingTag,  // a format without a tag Jukora writes ratings into (wav, mid, ...)
  kFailed,       // TagLib could not open or save the file
};

// Writes the score's FMPS_Rating (and POPM in ID3v2) into the file at `path`
// in place; ID3v2 keeps its version (2.2 becomes 2.4, which TagLib writes)
// and no ID3v1 tag is added. Meant for a private copy of the song, whose
// kind of file `type` names by its extension ("flac", any case); without
// it, `path` itself.
TagEdit write_tag_score(const std::string& path, std::int64_t score, std::string_view type);
TagEdit write_tag_score(const std::string& path, std::int64_t score);

}  // namespace jukora
