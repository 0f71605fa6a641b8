// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpd/mpd_address.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "platform/settings_keys.h"

namespace jukora {

bool MpdAddress::is_this_computer() const {
  return is_socket() || host == "localhost" || host == "127.0.0.1" || host == "::1";
}

std::string MpdAddress::describe() const {
  if (is_socket()) return host;
  // An IPv6 address keeps its colons apart from the port.
  if (host.find(':') != std::string::npos) return "[" + host + "]:" + std::to_string(port);
  return host + ":" + std::to_string(port);
}

bool parse_mpd_port(std::string_view text, unsigned& port) {
  unsigned value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) return false;
  port = value;
  return true;
}

MpdAddress mpd_default_address(const std::function<const char*(const char*)>& environment,
                               const std::function<bool(const std::string&)>& is_socket) {
  MpdAddress address;
  const char* host = environment("MPD_HOST");
  if (host && *host) {
    address.host = host;
    auto at = address.host.find('@');
    if (at != std::string::npos && at > 0) {
      address.password = address.host.substr(0, at);
      address.host.erase(0, at + 1);
    }
  }
  if (address.host.empty()) {
    const char* runtime = environment("XDG_RUNTIME_DIR");
    std::string user_socket = runtime && *runtime ? std::string(runtime) + "/mpd/socket" : std::string();
    if (!user_socket.empty() && is_socket(user_socket))
      address.host = user_socket;
    else if (is_socket("/run/mpd/socket"))
      address.host = "/run/mpd/socket";
    else
      address.host = "localhost";
  }
  if (const char* port = environment("MPD_PORT")) parse_mpd_port(port, address.port);
  return address;
}

MpdAddress mpd_default_address() {
  return mpd_default_address([](const char* name) { return std::getenv(name); },
                             [](const std::string& path) {
                               std::error_code ignored;
                               return std::filesystem::is_socket(path, ignored);
                             });
}

MpdAddress read_mpd_address(const SettingsStore& settings) {
  MpdAddress address = mpd_default_address();
  if (auto host = settings.read(sections::kPlayer, keys::kMpdHost); host && !host->empty()) {
    address.host = *host;
    // A password comes with the host it belongs to.
    address.password.clear();
  }
  if (auto port = settings.read(sections::kPlayer, keys::kMpdPort)) parse_mpd_port(*port, address.port);
  if (auto password = settings.read(sections::kPlayer, keys::kMpdPassword)) address.password = *password;
  return address;
}

std::string read_mpd_music_folder(const SettingsStore& settings) {
  std::string folder = settings.GetSetting(sections::kPlayer, keys::kMpdMusicFolder, "");
  // As MPD's own configuration writes it.
  if (const char* home = std::getenv("HOME"); home && (folder == "~" || folder.starts_with("~/")))
    folder.replace(0, 1, home);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace jukora
