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

bool is_local_file_path(std::string_view path) {
  // A NUL would end the path early wherever it crosses into the system.
  if (path.find('\0') != std::string_view::npos) return false;
#ifdef _WIN32
  auto is_letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && is_letter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  if (!path.starts_with("\\\\")) return false;
  // \\host\share\...: a host name and a share name, neither "?" nor ".".
  std::string_view rest = path.substr(2);
  auto host_end = rest.find('\\');
  if (host_end == 0 || host_end == std::string_view::npos) return false;
  std::string_view host = rest.substr(0, host_end);
  if (host == "?" || host == ".") return false;
  std::string_view share = rest.substr(host_end + 1);
  return !share.empty() && share.front() != '\\';
#else
  return path.starts_with('/');
#endif
}

}  // namespace jukora
