// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_rules.h"

#include <array>

namespace jukora {

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

PlayStatus play_status_of(std::string_view playback_status) {
  if (playback_status == "Playing") return PlayStatus::kPlaying;
  if (playback_status == "Paused") return PlayStatus::kPaused;
  return PlayStatus::kStopped;
}

std::string mpris_stem(std::string_view bus_name) {
  if (!bus_name.starts_with(kMprisPrefix)) return {};
  std::string_view rest = bus_name.substr(kMprisPrefix.size());
  return std::string(rest.substr(0, rest.find('.')));
}

bool is_player_of_stem(std::string_view bus_name, std::string_view stem) {
  return !stem.empty() && mpris_stem(bus_name) == stem;
}

std::optional<bool> introspection_offers(std::string_view xml, std::string_view interface_name,
                                         std::string_view method) {
  const std::string opening = "<interface name=\"" + std::string(interface_name) + "\"";
  auto start = xml.find(opening);
  if (start == std::string_view::npos) return std::nullopt;
  auto end = xml.find("</interface>", start);
  std::string_view body = xml.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  return body.find("<method name=\"" + std::string(method) + "\"") != std::string_view::npos;
}

bool passes_files_to_running_copy(std::string_view program) {
  // Tried: a second "audacious FILE" hands FILE to the running Audacious,
  // which plays it at once (and a playlist file replaces its playlist).
  static constexpr std::array<std::string_view, 1> kForwarding = {"audacious"};
  std::string_view name = program.substr(program.rfind('/') == std::string_view::npos ? 0 : program.rfind('/') + 1);
  for (std::string_view known : kForwarding)
    if (name == known) return true;
  return false;
}

SongWay song_way(bool has_open_uri, bool command_passes_files) {
  if (has_open_uri) return SongWay::kOpenUri;
  return command_passes_files ? SongWay::kCommandLine : SongWay::kNone;
}

PlaylistWay playlist_way(std::string_view stem, bool has_open_uri, bool can_edit_tracks, bool command_passes_files) {
  // mpv's MPRIS script loads what OpenUri names in place of its playlist.
  if (has_open_uri && stem == "mpv") return PlaylistWay::kOpenUri;
  if (can_edit_tracks) return PlaylistWay::kTrackList;
  if (command_passes_files) return PlaylistWay::kCommandLine;
  return has_open_uri ? PlaylistWay::kAppendsOnly : PlaylistWay::kNone;
}

PlayerTexts mpris_texts(std::string_view identity, std::string_view program) {
  const std::string name(identity);
  PlayerTexts texts;
  texts.name = name;
  texts.stop_item = "Stop " + name;
  texts.folder_label = "Command that starts " + name;
  texts.executable_not_found = program.empty() ? "No command to start " + name + " is set.  Enter it in Preferences."
                                               : "The command that starts " + name + ", " + quoted(program) +
                                                     ", is not found on PATH.  Check the command in Preferences.";
  texts.not_running = name + " is not running.  To run " + name + ", select a playmode or start " + name + " yourself";
  return texts;
}

std::string refused_song_text(std::string_view identity, std::string_view command) {
  const std::string name(identity);
  return "Jukora cannot hand songs to " + name + ": it offers no OpenUri over MPRIS, and running " + quoted(command) +
         " with a song would start a second " + name + ".  Scoring the song it plays still works.";
}

std::string refused_playlist_text(std::string_view identity, PlaylistWay way, std::string_view playlist) {
  const std::string name(identity);
  const std::string where =
      "  The playlist was written to " + std::string(playlist) + "; open it in " + name + " to play it.";
  if (way == PlaylistWay::kAppendsOnly)
    return name +
           " can only add songs to the end of its own playlist, so it would not play Jukora's playlist from "
           "its first song." +
           where;
  return name + " cannot be handed a playlist." + where;
}

std::string no_session_bus_text(std::string_view identity) {
  return "There is no D-Bus session bus, so Jukora cannot reach " + std::string(identity) +
         ".  Choose mpv (built in) in Preferences, or start Jukora in a desktop session.";
}

}  // namespace jukora
