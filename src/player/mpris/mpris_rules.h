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

// The player's name in an MPRIS bus name: the bus name less
// "org.mpris.MediaPlayer2." and less an instance suffix, which players add
// when they run twice or always ("vlc.instance1234", "...Celluloid.instance-1"):
// "vlc", "io.github.celluloid_player.Celluloid". Empty for other names.
std::string mpris_player_name(std::string_view bus_name);
// Whether the bus name is the player of that name, matched whole.
bool is_player_named(std::string_view bus_name, std::string_view name);
// The player a stored name means among the player names on the bus now: the
// name itself; or, for what older versions stored (the part before the first
// dot: "io", "org"), the one player whose name begins with it and a dot.
// Nothing when no player, or more than one, fits.
std::optional<std::string> running_player_named(std::string_view stored, const std::vector<std::string>& running);

// Whether introspection data lists the method in the interface; nothing when
// the interface is not described at all.
std::optional<bool> introspection_offers(std::string_view xml, std::string_view interface_name,
                                         std::string_view method);

// The command that makes the copy of the player that runs already play
// `path` (with `playlist`, the exported playlist from its first song in place
// of its list), where that was tried with the player: the program first, one
// word per argument, never through a shell; the path is absolute, so it is
// never read as an option. `name` is the player's bus name, `command` the
// user's command for it, taken apart: a wrapper script is not known to pass
// the file on. Nothing where no such way is known (mpv and VLC, for two,
// would start a second player).
std::optional<std::vector<std::string>> running_copy_command(std::string_view name,
                                                             const std::vector<std::string>& command,
                                                             std::string_view path, bool playlist);

// How a player is made to play one song.
enum class SongWay {
  kOpenUri,      // its OpenUri method
  kCommandLine,  // its command with the song's path as one more argument
  kNone,         // neither: refused
};
SongWay song_way(bool open_uri_plays, bool has_running_copy_command);

// How a player is made to play the exported playlist from its first song, in
// order, in place of what it had.
enum class PlaylistWay {
  kOpenUri,      // OpenUri of the playlist file replaces the player's list
  kTrackList,    // its TrackList interface: the old tracks out, the new ones in
  kCommandLine,  // its command with the playlist file as one more argument
  kAppendsOnly,  // OpenUri only, which adds to the player's list: refused
  kNone,         // no way at all: refused
};
// `name` names the player; only mpv's OpenUri is known to replace.
PlaylistWay playlist_way(std::string_view name, bool has_open_uri, bool can_edit_tracks, bool has_running_copy_command);

// The texts that name an MPRIS player: `identity` ("Audacious") and the
// program of the command that starts it ("audacious"; empty when none is set).
PlayerTexts mpris_texts(std::string_view identity, std::string_view program);
// What to tell the user when a hand-over is refused.
std::string refused_song_text(std::string_view identity, std::string_view command);
std::string refused_playlist_text(std::string_view identity, PlaylistWay way, std::string_view playlist);
// Why a song handed over did not play, for the user: the player did not
// come up after `command` started it (for the `playlist`, which then did not
// play: no cycle stopped), or it answered OpenUri with `error` and takes no
// songs another way (either ends the cycle); or it took the song and did not
// play it (`by_command`: not even from its command line, where `program` is
// the command's).
std::string not_up_text(std::string_view identity, std::string_view command, bool playlist);
std::string not_played_text(std::string_view identity, std::string_view song, bool by_command,
                            std::string_view program);
// Why a song handed over is not taken to play: the player plays, but names
// no track.
std::string unnamed_play_text(std::string_view identity, std::string_view song);
std::string open_uri_error_text(std::string_view identity, std::string_view name, std::string_view song,
                                std::string_view error);
// The message when the player cannot be used at all: no session bus.
std::string no_session_bus_text(std::string_view identity);

// An MPRIS player running now, as the Preferences list it.
struct MprisPlayer {
  std::string name;           // "vlc": its bus name, as mpris_player_name gives it
  std::string identity;       // "VLC media player"; the name when the player gives none
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
