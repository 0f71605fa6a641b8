// SPDX-License-Identifier: GPL-3.0-or-later
// The words the history stores for where a score change came from and how a
// song reached the player: stable, since they are kept in the user's file
// and read by other tools.
#pragma once

#include <optional>
#include <string_view>

#include "songlist/song_events.h"

namespace jukora {

std::string_view source_name(ChangeSource source);
std::optional<ChangeSource> source_from_name(std::string_view name);

std::string_view play_kind_name(PlayKind kind);
std::optional<PlayKind> play_kind_from_name(std::string_view name);

}  // namespace jukora
