// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary files of saves that were cut short (Jukora killed, the machine
// off) pile up beside a file unless something removes them.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace jukora {

// A save's temporary file untouched for this long is no longer being written.
inline constexpr std::chrono::seconds kStaleSaveAge{60};

// Removes the temporary files that saves of `path` left behind: only names
// of Jukora's own pattern for that very file, only regular files of this
// user, and never one a save may still be writing (changed in the last
// minute, or locked by its writer).
void remove_stale_saves(const std::string& path);

// The same for the files in `folder` whose names `is_ours` accepts: the
// temporary copies of another kind of write, which locks its copy the way
// a save does.
void remove_stale_temporaries(const std::string& folder, const std::function<bool(std::string_view name)>& is_ours);

}  // namespace jukora
