// SPDX-License-Identifier: GPL-3.0-or-later
// Paths as the program holds them and as the system takes them. The program
// keeps every path as local 8-bit text: bytes on Linux (UTF-8 as a rule), the
// ANSI code page on Windows, where stored songlists and the player's playlist
// file are written in it. Windows takes paths as UTF-16, so each one crosses
// over here, and only through the wide (...W) calls.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace jukora {

std::filesystem::path native_path(std::string_view text);

// The path as local text; nothing when a name in it has no letters there (on
// Windows, a name outside the ANSI code page: no path could reach it again).
std::optional<std::string> local_text(const std::filesystem::path& path);

// std::fopen for a path held as local text.
std::FILE* open_file(const std::string& path, const char* mode);

#ifdef _WIN32
// Local text as UTF-16, for the wide calls.
std::wstring wide_text(std::string_view text);
#endif

}  // namespace jukora
