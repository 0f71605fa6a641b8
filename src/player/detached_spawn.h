// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a program that outlives us and is never waited for (POSIX only).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace jukora {

// Runs `program` with `arguments` in a session of its own, with standard
// input and output on /dev/null. It is started through an intermediate
// process that exits at once, so it is never our child and never lingers as
// a zombie. The process id once the program is running; nothing when it
// could not be run.
std::optional<pid_t> spawn_detached(const std::string& program, const std::vector<std::string>& arguments);

// Whether a process with that id still exists (an exited one that nobody
// reaped yet still counts).
bool process_exists(pid_t pid);

}  // namespace jukora
