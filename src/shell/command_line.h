// SPDX-License-Identifier: GPL-3.0-or-later
// What the program was started to do: run, or hand one command to the
// running copy (see remote_command.h). Read before any window exists, so
// that --help and --version need no display.
#pragma once

#include <optional>
#include <span>

#include "session/commands.h"

namespace jukora {

struct CommandLine {
  // Empty for a plain start.
  std::optional<CommandCall> command;
};

// Reads argv: an option for every word of `commands`, taking a value where
// the command takes one. --help, --version and a command line it cannot
// take are answered on the terminal, and the process ends there. Qt's own
// options (-platform, -style, ...) are left to the application object.
CommandLine read_command_line(int argc, char* argv[], std::span<const CommandEntry> commands = command_table());

}  // namespace jukora
