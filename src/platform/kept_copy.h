// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of a file kept beside it, made before Jukora first writes over text
// it did not write itself.
#pragma once

#include <optional>
#include <string>

namespace jukora {

// Copies the file at `path` to "PATH.orig", or when that name is taken to
// "PATH.orig-2", "PATH.orig-3" ..., never replacing an earlier copy; a copy
// that already holds the same bytes is kept instead of a new one. The copy is
// on disk before this returns. Gives its path, an empty text when there is
// no file to keep, or nothing with a reason in `error`.
std::optional<std::string> keep_copy_beside(const std::string& path, std::string& error);

}  // namespace jukora
