// SPDX-License-Identifier: GPL-3.0-or-later
// A command the user typed ("audacious", "vlc --one-instance") taken apart
// into a program and its arguments, once and without a shell: nothing in it
// is expanded, and an argument added later (a song's path) stays one
// argument whatever it holds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

// Words separated by blanks; "double" or 'single' quotes keep blanks inside a
// word, and a backslash outside single quotes takes the next character as it
// is. Nothing when a quote is left open.
std::optional<std::vector<std::string>> split_command(std::string_view command);

// The program file a command's first word names: a word with a "/" as it
// stands, any other looked up in the folders of `search_path` (PATH's form).
// Empty when it is not there or cannot be run.
std::string find_program(std::string_view word, std::string_view search_path);

// PATH, or the usual folders when it is not set.
std::string program_search_path();

// Whether the running process `pid` was started with `argument` among its
// arguments (false when it cannot be told).
bool process_has_argument(long pid, std::string_view argument);

}  // namespace jukora
