// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Music Player Daemon is, as the settings say, with the defaults
// every MPD client takes from MPD_HOST and MPD_PORT.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace jukora {

class SettingsStore;

inline constexpr unsigned kMpdDefaultPort = 6600;

struct MpdAddress {
  // A local socket ("/run/mpd/socket", "@name" for an abstract one) or a
  // host name or address.
  std::string host;
  unsigned port = kMpdDefaultPort;
  std::string password;

  bool is_socket() const { return host.starts_with('/') || host.starts_with('@'); }
  // MPD on this computer: a local socket, or the loopback over TCP. Only
  // then is an absolute path that MPD names a path here.
  bool is_this_computer() const;
  // For the user: "/run/mpd/socket", "music.local:6600".
  std::string describe() const;

  friend bool operator==(const MpdAddress&, const MpdAddress&) = default;
};

// What MPD clients use when nothing is set. MPD_HOST may be "password@host";
// a leading "@" names an abstract socket, not a password. Without MPD_HOST
// the user's and then the system's MPD socket, when there is one, else
// localhost. `environment` reads a variable (null when unset), `is_socket`
// tests a path.
MpdAddress mpd_default_address(const std::function<const char*(const char*)>& environment,
                               const std::function<bool(const std::string&)>& is_socket);
// The same, from this process's environment and file system.
MpdAddress mpd_default_address();

// The address the settings hold; each key never saved takes its default.
MpdAddress read_mpd_address(const SettingsStore& settings);
// MPD's music folder as this computer sees it, without a trailing "/" and
// with a leading "~" for the home folder; empty when the user left it to MPD.
std::string read_mpd_music_folder(const SettingsStore& settings);

// "6600" as a port; nothing for anything else.
bool parse_mpd_port(std::string_view text, unsigned& port);

}  // namespace jukora
