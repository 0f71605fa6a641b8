// Splitting a full path on the native separator, from the end of the text.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

// The text after the last separator, or the whole text without one.
std::string get_file_name(std::string_view path);
// The text before the last separator, or empty without one.
std::string get_dir_name(std::string_view path);
// The text after the last dot (which may lie in a directory name), or empty.
std::string get_extension(std::string_view path);

}  // namespace jukora
