// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris_rules.h"

#include <gtest/gtest.h>

#include "player/command_line.h"

namespace jukora {
namespace {

TEST(MprisRules, FileUrlsCarryTheNamesBytesBothWays) {
  const std::string odd = "/m/a b #1 %41 \xc3\xbc \xff $(x).wav";
  EXPECT_EQ(file_url_from_path(odd), "file:///m/a%20b%20%231%20%2541%20%C3%BC%20%FF%20%24%28x%29.wav");
  EXPECT_EQ(path_from_file_url(file_url_from_path(odd)), odd);

  const std::vector<std::pair<std::string, std::optional<std::string>>> urls = {
      {"file:///b%20%232.wav", "/b #2.wav"},  // as Audacious writes it
      {"file:///x/\xc3\xbc.wav", "/x/\xc3\xbc.wav"},
      {"file://localhost/x.wav", "/x.wav"},
      {"FILE:///x.wav", "/x.wav"},
      {"file:///a%zz%4", "/a%zz%4"},  // no escape: taken as it stands
      {"file://host/x.wav", std::nullopt},
      {"file://localhost.example/x.wav", std::nullopt},
      {"https://radio.example/stream.mp3", std::nullopt},
      {"cdda://1", std::nullopt},
      {"file:x.wav", std::nullopt},
      {"file:///a%00b.wav", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [url, path] : urls) EXPECT_EQ(path_from_file_url(url), path) << url;
}

TEST(MprisRules, ACommandIsSplitOnceAndNothingInItIsExpanded) {
  using Words = std::vector<std::string>;
  const std::vector<std::pair<std::string, std::optional<Words>>> commands = {
      {"audacious", Words{"audacious"}},
      {"  vlc\t --one-instance ", Words{"vlc", "--one-instance"}},
      {"'/opt/my player/run' -x", Words{"/opt/my player/run", "-x"}},
      {"\"a b\"c 'it''s' a\\ b", Words{"a bc", "its", "a b"}},
      {"\"say \\\"hi\\\" \\\\ \\n\"", Words{"say \"hi\" \\ \\n"}},
      {"$(touch x) `id` ~ * $HOME", Words{"$(touch", "x)", "`id`", "~", "*", "$HOME"}},
      {"", Words{}},
      {"'open", std::nullopt},
      {"\"open", std::nullopt},
  };
  for (const auto& [command, words] : commands) EXPECT_EQ(split_command(command), words) << command;
}

TEST(MprisRules, StatusStemsAndWhatIntrospectionOffers) {
  EXPECT_EQ(playback_status_code("Playing"), kStatusPlaying);
  EXPECT_EQ(playback_status_code("Paused"), kStatusPaused);
  for (const char* other : {"Stopped", "", "playing"}) EXPECT_EQ(playback_status_code(other), 0) << other;

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
  EXPECT_EQ(texts.too_old, "") << "no version is demanded";
  EXPECT_EQ(mpris_texts("VLC media player", "").executable_not_found,
            "No command to start VLC media player is set.  Enter it in Preferences.");
  EXPECT_NE(refused_playlist_text("Rhythmbox", PlaylistWay::kAppendsOnly, "/d/winamp.m3u").find("/d/winamp.m3u"),
            std::string::npos);
}

}  // namespace
}  // namespace jukora
