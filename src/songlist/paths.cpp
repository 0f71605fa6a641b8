// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/paths.h"

#include "platform/app_folders.h"

namespace jukora {

std::string get_file_name(std::string_view path) {
  auto at = path.rfind(kPathSeparator);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string get_dir_name(std::string_view path) {
  auto at = path.rfind(kPathSeparator);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at));
}

std::string song_directory(std::string_view path) {
  std::string dir = get_dir_name(path);
  if (kPathSeparator == '/' && dir.empty() && path.starts_with('/')) dir.push_back('/');
  return dir;
}

std::string_view folder_key(std::string_view directory) {
#ifdef _WIN32
  if (directory.size() == 3 && directory[1] == ':' && directory[2] == '\\') directory.remove_suffix(1);
#endif
  return directory;
}

std::string get_extension(std::string_view path) {
  auto at = path.rfind('.');
  return at == std::string_view::npos ? std::string() : std::string(path.substr(at + 1));
}

}  // namespace jukora
