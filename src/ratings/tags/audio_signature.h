// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file begins as its kind of audio file begins. TagLib looks for
// the first MPEG frame, or walks an Ogg or FLAC stream, through the whole
// file when it finds none: a large file of anything else (a 2 GB file of
// zeros named .mp3) would hold a reader for minutes. Checked before TagLib
// opens a file, it costs one read of the file's first bytes.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// False for anything but a regular file; true for a file of a kind not
// checked here (TagLib then decides). The kind is the one `type` names by
// its extension ("mp3", any case); without it, the one the path's does.
bool has_audio_signature(const std::string& path, std::string_view type);
bool has_audio_signature(const std::string& path);

}  // namespace jukora
