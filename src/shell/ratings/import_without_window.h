// SPDX-License-Identifier: GPL-3.0-or-later
// `jukora --import-ratings SOURCE` when no Jukora runs: the import carried
// out in this process on the current songlist, with no window and no display
// needed; what would be a message box is printed instead. The caller holds
// the single-copy lock, so no Jukora starts and writes the list meanwhile.
#pragma once

#include "session/commands.h"

namespace jukora {

struct AppFolders;

// Prints the changes (a dry run) and the summary line on standard output,
// problems on standard error; the exit status.
int import_ratings_without_window(const CommandCall& call, const AppFolders& folders);

}  // namespace jukora
