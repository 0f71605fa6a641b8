// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting a full path on the native separator, from the end of the text.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// The text after the last separator, or the whole text without one.
std::string get_file_name(std::string_view path);
// The text before the last separator, or empty without one.
std::string get_dir_name(std::string_view path);
// The Directory a song at `path` is listed under: get_dir_name, except that
// a song in the POSIX root keeps "/" (an empty Directory marks the blank row).
std::string song_directory(std::string_view path);

// A Directory as a folder, for telling whether two rows hold the same song:
// a drive root is one folder whether written "E:" or "E:\" (lists hold both).
// Elsewhere the text itself; Directory cells are never rewritten.
std::string_view folder_key(std::string_view directory);

// The text after the last dot (which may lie in a directory name), or empty.
std::string get_extension(std::string_view path);

}  // namespace jukora
