// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM (a logout, `kill`, a service manager), SIGINT and SIGHUP end the
// program the way Exit does, on the event loop: what changed is saved and
// the exit status is 0. A signal handler may do almost nothing, so it only
// wakes the loop through a pipe. POSIX only.
#pragma once

#include <functional>

namespace jukora {

// From now on, the first of those signals calls `end` on the event loop;
// later ones find the program ending already and change nothing.
void end_on_termination_signals(std::function<void()> end);

}  // namespace jukora
