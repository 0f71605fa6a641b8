// SPDX-License-Identifier: GPL-3.0-or-later
// What the program decides about a desktop player it reaches over MPRIS, kept
// apart from the D-Bus code so that each rule can be tested on its own: the
// status, which bus names belong to the chosen player, how a song or a
// playlist is handed over, and the texts that name it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "player/player_link.h"

namespace jukora {

inline constexpr std::string_view kMprisPrefix = "org.mpris.MediaPlayer2.";

// PlaybackStatus as the play cycle reads it: "Playing", "Paused", anything
// else stopped.
PlayStatus play_status_of(std::string_view playback_status);

// The stem of an MPRIS bus name: "vlc" for "org.mpris.MediaPlayer2.vlc" and
// for "org.mpris.MediaPlayer2.vlc.instance1234"; empty for other names.
std::string mpris_stem(std::string_view bus_name);
// Whether the bus name is the player of that stem: the stem itself or the
// stem with an instance suffix, as players add one when they run twice.
bool is_player_of_stem(std::string_view bus_name, std::string_view stem);

// Whether introspection data lists the method in the interface; nothing when
// the interface is not described at all.
std::optional<bool> introspection_offers(std::string_view xml, std::string_view interface_name,
                                         std::string_view method);

// Whether running the program with a file as one more argument hands the file
// to the copy that runs already, rather than starting a second player. Only
// players tried are named; mpv, for one, would start a second player.
bool passes_files_to_running_copy(std::string_view program);

// How a player is made to play one song.
enum class SongWay {
  kOpenUri,      // its OpenUri method
  kCommandLine,  // its command with the song's path as one more argument
  kNone,         // neither: refused
};
SongWay song_way(bool has_open_uri, bool command_passes_files);

// How a player is made to play the exported playlist from its first song, in
// order, in place of what it had.
enum class PlaylistWay {
  kOpenUri,      // OpenUri of the playlist file replaces the player's list
  kTrackList,    // its TrackList interface: the old tracks out, the new ones in
  kCommandLine,  // its command with the playlist file as one more argument
  kAppendsOnly,  // OpenUri only, which adds to the player's list: refused
  kNone,         // no way at all: refused
};
// `stem` names the player; only mpv's OpenUri is known to replace.
PlaylistWay playlist_way(std::string_view stem, bool has_open_uri, bool can_edit_tracks, bool command_passes_files);

// The texts that name an MPRIS player: `identity` ("Audacious") and the
// program of the command that starts it ("audacious"; empty when none is set).
PlayerTexts mpris_texts(std::string_view identity, std::string_view program);
// What to tell the user when a hand-over is refused.
std::string refused_song_text(std::string_view identity, std::string_view command);
std::string refused_playlist_text(std::string_view identity, PlaylistWay way, std::string_view playlist);
// The message when the player cannot be used at all: no session bus.
std::string no_session_bus_text(std::string_view identity);

// An MPRIS player running now, as the Preferences list it.
struct MprisPlayer {
  std::string stem;           // "vlc"
  std::string identity;       // "VLC media player"; the stem when the player gives none
  std::string desktop_entry;  // "vlc": a good guess at its command
};

// The players on the session bus, for the Preferences.
class MprisDirectory {
 public:
  virtual ~MprisDirectory() = default;
  // Empty when the session bus can be reached; otherwise why not, for the user.
  virtual std::string unavailable() const = 0;
  // Calls `done` once, later, on the user-interface thread, with the MPRIS
  // players running now, the program's own mpv left out.
  virtual void list_players(std::function<void(std::vector<MprisPlayer>)> done) = 0;
};

}  // namespace jukora
