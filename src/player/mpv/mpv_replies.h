// SPDX-License-Identifier: GPL-3.0-or-later
// What mpv's replies and events say, as the link reads them: its playlist
// and its entries, and why it gave up a file. Anything that is not what
// mpv sends reads as nothing.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "player/mpv/mpv_ipc.h"

namespace jukora {

bool is_true(const MpvReply& reply);
// A flag of a playlist entry: "current", "playing".
bool has_flag(const nlohmann::json& entry, const char* flag);
// The file a playlist entry names; empty for a name longer than any path.
std::string file_of(const nlohmann::json& entry);
// mpv's playlist as a list of entries; empty when the reply is not one.
std::vector<nlohmann::json> playlist_entries(const MpvReply& reply);
// The playlist entry a playlist entry, a loadfile reply or an event is of.
std::optional<std::int64_t> entry_id(const nlohmann::json& object);
// Why mpv gave up a file, by its end-file event; nothing for an end that is
// no failure (another file loaded, a stop).
std::optional<std::string> failure_of(const nlohmann::json& end_file);

}  // namespace jukora
