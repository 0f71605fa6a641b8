// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace jukora {
namespace {

TEST(MprisRules, StatusNamesAndWhatIntrospectionOffers) {
  EXPECT_EQ(play_status_of("Playing"), PlayStatus::kPlaying);
  EXPECT_EQ(play_status_of("Paused"), PlayStatus::kPaused);
  for (const char* other : {"Stopped", "", "playing"}) EXPECT_EQ(play_status_of(other), PlayStatus::kStopped) << other;

  const std::string celluloid = "io.github.celluloid_player.Celluloid";
  // The bus name, and the player's name in it.
  for (const auto& [bus_name, name] : std::vector<std::pair<std::string, std::string>>{
           {"org.mpris.MediaPlayer2.vlc", "vlc"},
           {"org.mpris.MediaPlayer2.vlc.instance1234", "vlc"},
           {"org.mpris.MediaPlayer2.mpv.instance-AbC", "mpv"},
           {"org.mpris.MediaPlayer2." + celluloid + ".instance-1", celluloid},
           {"org.mpris.MediaPlayer2.org.gnome.Music", "org.gnome.Music"},
           {"org.mpris.MediaPlayer2.x.instance", "x.instance"},
           {"org.freedesktop.DBus", ""},
       })
    EXPECT_EQ(mpris_player_name(bus_name), name) << bus_name;
  EXPECT_FALSE(is_player_named("org.mpris.MediaPlayer2.mpvx", "mpv"));
  EXPECT_FALSE(is_player_named("org.mpris.MediaPlayer2." + celluloid, "io"));
  EXPECT_FALSE(is_player_named("org.mpris.MediaPlayer2.mpv", ""));

  // What is stored, the players running, and the one meant.
  const std::vector<std::string> running = {celluloid, "org.gnome.Music", "org.kde.elisa", "vlc"};
  for (const auto& [stored, players, meant] :
       std::vector<std::tuple<std::string, std::vector<std::string>, std::optional<std::string>>>{
           {"vlc", running, "vlc"},
           {"io", running, celluloid},
           {celluloid, running, celluloid},
           {"org", running, std::nullopt},
           {"org", {"org.gnome.Music", "org"}, "org"},
           {"io.github", running, std::nullopt},
           {"v", running, std::nullopt},
       })
    EXPECT_EQ(running_player_named(stored, players), meant) << stored;

  const std::string player = "<interface name=\"org.mpris.MediaPlayer2.Player\"><method name=\"Stop\"/>";
  const std::string tracks = "<interface name=\"org.mpris.MediaPlayer2.TrackList\"><method name=\"OpenUri\"/>";
  const std::string with_open = player + "<method name=\"OpenUri\"/></interface>";
  const std::string without = player + "</interface>" + tracks + "</interface>";
  EXPECT_EQ(introspection_offers(with_open, "org.mpris.MediaPlayer2.Player", "OpenUri"), true);
  EXPECT_EQ(introspection_offers(without, "org.mpris.MediaPlayer2.Player", "OpenUri"), false);
  EXPECT_EQ(introspection_offers("<node/>", "org.mpris.MediaPlayer2.Player", "OpenUri"), std::nullopt);
}

TEST(MprisRules, EachPlayerGetsSongsAndPlaylistsTheWayItCanTakeThem) {
  using Words = std::vector<std::string>;
  // The player's name, its command, whether a playlist, and what runs (nothing: no way known).
  for (const auto& [name, command, playlist, runs] :
       std::vector<std::tuple<std::string, Words, bool, std::optional<Words>>>{
           {"audacious",
            {"/usr/bin/audacious", "--headless"},
            false,
            Words{"/usr/bin/audacious", "--headless", "/m/a"}},
           {"audacious", {"audacious"}, true, Words{"audacious", "/m/a"}},
           {"rhythmbox", {"rhythmbox"}, false, Words{"rhythmbox", "/m/a"}},
           {"rhythmbox", {"rhythmbox"}, true, std::nullopt},
           {"quodlibet", {"quodlibet"}, false, Words{"quodlibet", "--play-file=/m/a"}},
           {"cmus", {"xterm", "-e", "cmus"}, false, Words{"cmus-remote", "-f", "/m/a"}},
           {"cmus", {"xterm", "-e", "cmus"}, true, std::nullopt},
           {"audacious", {"/opt/audacious-wrapper"}, false, std::nullopt},
           {"mpv", {"mpv"}, false, std::nullopt},
           {"vlc", {"vlc"}, false, std::nullopt},
           {"vlc", {}, false, std::nullopt},
       })
    EXPECT_EQ(running_copy_command(name, command, "/m/a", playlist), runs) << name << " " << playlist;

  EXPECT_EQ(song_way(true, true), SongWay::kOpenUri);
  EXPECT_EQ(song_way(false, true), SongWay::kCommandLine);
  EXPECT_EQ(song_way(false, false), SongWay::kNone);

  struct Case {
    const char* name;
    bool open_uri, edit_tracks, command;
    PlaylistWay way;
  };
  for (const Case& c : {
           Case{"mpv", true, false, false, PlaylistWay::kOpenUri},
           Case{"vlc", true, true, false, PlaylistWay::kTrackList},
           Case{"audacious", false, false, true, PlaylistWay::kCommandLine},
           Case{"rhythmbox", true, false, false, PlaylistWay::kAppendsOnly},
           Case{"quiet", false, false, false, PlaylistWay::kNone},
       })
    EXPECT_EQ(playlist_way(c.name, c.open_uri, c.edit_tracks, c.command), c.way) << c.name;
}

TEST(MprisRules, TheTextsNameThePlayerInUse) {
  const PlayerTexts texts = mpris_texts("Audacious", "audacious");
  EXPECT_EQ(texts.name, "Audacious");
  EXPECT_EQ(texts.stop_item, "Stop Audacious");
  EXPECT_EQ(texts.not_running,
            "Audacious is not running.  To run Audacious, select a playmode or start Audacious yourself");
  EXPECT_EQ(mpris_texts("VLC media player", "").executable_not_found,
            "No command to start VLC media player is set.  Enter it in Preferences.");
  EXPECT_NE(refused_playlist_text("Rhythmbox", PlaylistWay::kAppendsOnly, "/d/winamp.m3u").find("/d/winamp.m3u"),
            std::string::npos);
}

}  // namespace
}  // namespace jukora
