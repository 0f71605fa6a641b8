// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_rules.h"

#include <algorithm>
#include <array>

namespace jukora {

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

constexpr const char* kCycleStopped = "  The play cycle stopped; nothing was marked as played.";

}  // namespace

PlayStatus play_status_of(std::string_view playback_status) {
  if (playback_status == "Playing") return PlayStatus::kPlaying;
  if (playback_status == "Paused") return PlayStatus::kPaused;
  return PlayStatus::kStopped;
}

std::string mpris_player_name(std::string_view bus_name) {
  if (!bus_name.starts_with(kMprisPrefix)) return {};
  std::string_view name = bus_name.substr(kMprisPrefix.size());
  const auto dot = name.rfind('.');
  constexpr std::string_view kInstance = "instance";
  if (dot != std::string_view::npos && name.substr(dot + 1).starts_with(kInstance) &&
      name.size() > dot + 1 + kInstance.size())
    name = name.substr(0, dot);
  return std::string(name);
}

bool is_player_named(std::string_view bus_name, std::string_view name) {
  return !name.empty() && mpris_player_name(bus_name) == name;
}

std::optional<std::string> running_player_named(std::string_view stored, const std::vector<std::string>& running) {
  if (stored.empty()) return std::nullopt;
  for (const std::string& name : running)
    if (name == stored) return name;
  // A name holding a dot was stored whole: it is never a shortened one.
  if (stored.find('.') != std::string_view::npos) return std::nullopt;
  std::optional<std::string> found;
  for (const std::string& name : running) {
    if (!name.starts_with(stored) || name.size() <= stored.size() || name[stored.size()] != '.') continue;
    if (found && *found != name) return std::nullopt;
    found = name;
  }
  return found;
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

std::optional<std::vector<std::string>> running_copy_command(std::string_view name,
                                                             const std::vector<std::string>& command,
                                                             std::string_view path, bool playlist) {
  // cmus runs in a terminal; its remote control reaches it wherever it runs.
  if (name == "cmus" && !playlist) return std::vector<std::string>{"cmus-remote", "-f", std::string(path)};
  if (command.empty()) return std::nullopt;
  const std::string_view program = std::string_view(command.front()).substr(command.front().rfind('/') + 1);
  // Tried: a second run of these with a file hands the file to the running
  // copy, which plays it at once (Elisa only while its list is empty). Only
  // Audacious was seen to take a playlist file in place of its list.
  static constexpr std::array<std::string_view, 7> kTakeFiles = {"audacious", "rhythmbox", "lollypop", "qmmp",
                                                                 "celluloid", "sayonara",  "elisa"};
  std::vector<std::string> words = command;
  if (program == "quodlibet" && !playlist) {
    words.push_back("--play-file=" + std::string(path));
    return words;
  }
  if (std::find(kTakeFiles.begin(), kTakeFiles.end(), program) == kTakeFiles.end()) return std::nullopt;
  if (playlist && program != "audacious") return std::nullopt;
  words.emplace_back(path);
  return words;
}

SongWay song_way(bool open_uri_plays, bool has_running_copy_command) {
  if (open_uri_plays) return SongWay::kOpenUri;
  return has_running_copy_command ? SongWay::kCommandLine : SongWay::kNone;
}

PlaylistWay playlist_way(std::string_view name, bool has_open_uri, bool can_edit_tracks,
                         bool has_running_copy_command) {
  // mpv's MPRIS script loads what OpenUri names in place of its playlist.
  if (has_open_uri && name == "mpv") return PlaylistWay::kOpenUri;
  if (can_edit_tracks) return PlaylistWay::kTrackList;
  if (has_running_copy_command) return PlaylistWay::kCommandLine;
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

std::string not_up_text(std::string_view identity, std::string_view command, bool playlist) {
  return std::string(identity) + " did not come up on the session bus within 10 s of being started with " +
         quoted(command) + (playlist ? ", so it did not get the playlist." : "." + std::string(kCycleStopped));
}

std::string not_played_text(std::string_view identity, std::string_view song, bool by_command,
                            std::string_view program) {
  const std::string name(identity);
  std::string text = by_command ? name + " did not play " + quoted(song) + " within 5 s of being handed it, " +
                                      "neither over MPRIS nor by its command."
                                : name + " took " + quoted(song) + " over MPRIS but did not play it within 5 s, " +
                                      "and Jukora knows no other way to hand " + name + " songs.";
  if (by_command && program.substr(program.rfind('/') + 1) == "elisa")
    text += "  Elisa plays a song given to its command only while its playlist is empty.";
  return text;
}

std::string unnamed_play_text(std::string_view identity, std::string_view song) {
  return std::string(identity) + " plays, but names no track over MPRIS, so Jukora cannot tell whether it plays " +
         quoted(song) + ".";
}

std::string open_uri_error_text(std::string_view identity, std::string_view name, std::string_view song,
                                std::string_view error) {
  std::string text = std::string(identity) + " refused " + quoted(song) + " over MPRIS (" + std::string(error) +
                     "), and Jukora knows no other way to hand it songs.";
  // mpDris2 puts an MPD on the bus without a working OpenUri.
  if (name == "mpd") text += "  For MPD, choose \"MPD\" as the player in Preferences: Jukora drives it directly.";
  return text + kCycleStopped;
}

std::string no_session_bus_text(std::string_view identity) {
  return "There is no D-Bus session bus, so Jukora cannot reach " + std::string(identity) +
         ".  Choose mpv (built in) in Preferences, or start Jukora in a desktop session.";
}

}  // namespace jukora
