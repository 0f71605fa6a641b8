// SPDX-License-Identifier: GPL-3.0-or-later
// What the program was started to do: run, or hand one command to the
// running copy (see remote_command.h). Read before any window exists, so
// that --help and --version need no display.
#pragma once

#include <optional>

#include "shell/remote_command.h"

namespace jukora {

struct CommandLine {
  // Empty for a plain start.
  std::optional<RemoteCommand> command;
};

// Reads argv. --help, --version and a command line it cannot take are
// answered on the terminal, and the process ends there. Qt's own options
// (-platform, -style, ...) are left to the application object.
CommandLine read_command_line(int argc, char* argv[]);

}  // namespace jukora
