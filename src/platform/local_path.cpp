// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/local_path.h"

namespace jukora {

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
