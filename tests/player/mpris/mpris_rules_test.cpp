// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_rules.h"

#include <gtest/gtest.h>

namespace jukora {
namespace {

TEST(MprisRules, StatusStemsAndWhatIntrospectionOffers) {
  EXPECT_EQ(play_status_of("Playing"), PlayStatus::kPlaying);
  EXPECT_EQ(play_status_of("Paused"), PlayStatus::kPaused);
  for (const char* other : {"Stopped", "", "playing"}) EXPECT_EQ(play_status_of(other), PlayStatus::kStopped) << other;

  EXPECT_EQ(mpris_stem("org.mpris.MediaPlayer2.vlc"), "vlc");
  EXPECT_EQ(mpris_stem("org.mpris.MediaPlayer2.vlc.instance1234"), "vlc");
  EXPECT_EQ(mpris_stem("org.freedesktop.DBus"), "");
  EXPECT_TRUE(is_player_of_stem("org.mpris.MediaPlayer2.mpv.instance-AbC", "mpv"));
  EXPECT_FALSE(is_player_of_stem("org.mpris.MediaPlayer2.mpvx", "mpv"));
  EXPECT_FALSE(is_player_of_stem("org.mpris.MediaPlayer2.mpv", ""));

  const std::string player = "<interface name=\"org.mpris.MediaPlayer2.Player\"><method name=\"Stop\"/>";
  const std::string tracks = "<interface name=\"org.mpris.MediaPlayer2.TrackList\"><method name=\"OpenUri\"/>";
  const std::string with_open = player + "<method name=\"OpenUri\"/></interface>";
  const std::string without = player + "</interface>" + tracks + "</interface>";
  EXPECT_EQ(introspection_offers(with_open, "org.mpris.MediaPlayer2.Player", "OpenUri"), true);
  EXPECT_EQ(introspection_offers(without, "org.mpris.MediaPlayer2.Player", "OpenUri"), false);
  EXPECT_EQ(introspection_offers("<node/>", "org.mpris.MediaPlayer2.Player", "OpenUri"), std::nullopt);
}

TEST(MprisRules, EachPlayerGetsSongsAndPlaylistsTheWayItCanTakeThem) {
  for (const char* program : {"audacious", "/usr/bin/audacious"}) EXPECT_TRUE(passes_files_to_running_copy(program));
  for (const char* program : {"mpv", "vlc", "/opt/audacious-wrapper", ""})
    EXPECT_FALSE(passes_files_to_running_copy(program)) << program;

  EXPECT_EQ(song_way(true, true), SongWay::kOpenUri);
  EXPECT_EQ(song_way(false, true), SongWay::kCommandLine);
  EXPECT_EQ(song_way(false, false), SongWay::kNone);

  struct Case {
    const char* stem;
    bool open_uri, edit_tracks, passes_files;
    PlaylistWay way;
  };
  for (const Case& c : {
           Case{"mpv", true, false, false, PlaylistWay::kOpenUri},
           Case{"vlc", true, true, false, PlaylistWay::kTrackList},
           Case{"audacious", false, false, true, PlaylistWay::kCommandLine},
           Case{"rhythmbox", true, false, false, PlaylistWay::kAppendsOnly},
           Case{"quiet", false, false, false, PlaylistWay::kNone},
       })
    EXPECT_EQ(playlist_way(c.stem, c.open_uri, c.edit_tracks, c.passes_files), c.way) << c.stem;
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
