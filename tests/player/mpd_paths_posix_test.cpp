// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "player/mpd_paths.h"

namespace jukora {
namespace {

TEST(MpdPaths, ASongIsNamedAsMpdTakesIt) {
  struct Case {
    std::string path;
    std::string folder;
    bool local_socket;
    std::string uri;      // empty: refused
    std::string refusal;  // part of the reason
  };
  const Case cases[] = {
      {"/music/a b/ü.flac", "/music", false, "a b/ü.flac", ""},
      {"/music/a.flac", "/", false, "music/a.flac", ""},
      // Outside the folder, or not plainly inside it: only over a local socket.
      {"/music/../etc/x.flac", "/music", true, "/music/../etc/x.flac", ""},
      {"/musical/a.flac", "/music", true, "/musical/a.flac", ""},
      {"/other/a.flac", "", true, "/other/a.flac", ""},
      {"/other/a.flac", "/music", false, "", "lies outside MPD's music folder \"/music\""},
      {"/other/a.flac", "", false, "", "without its music folder"},
      {"/music/a.flac", "", false, "", "without its music folder"},
      // Rows are data: nothing that could turn into a second command or a stream.
      {"/music/a\nkill", "/music", true, "", "line break"},
      {"/music/a\rb", "/music", true, "", "line break"},
      {"/music/\xff.flac", "/music", true, "", "not a UTF-8 name"},
      {"https://example.com/a.flac", "/music", true, "", "not a file on this computer"},
      {"music/a.flac", "/music", true, "", "not a file on this computer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    MpdTarget target = mpd_target(c.path, c.folder, c.local_socket);
    EXPECT_EQ(target.uri, c.uri);
    EXPECT_EQ(target.in_music_folder, !c.uri.empty() && !c.uri.starts_with('/'));
    EXPECT_NE(target.refusal.find(c.refusal), std::string::npos) << target.refusal;
  }
}

TEST(MpdPaths, TheSongMpdNamesBecomesTheLocalPathOrNoSong) {
  struct Case {
    std::string file;
    std::string folder;
    bool this_computer;
    std::string path;
    std::string message;  // part of it; empty: none
  };
  const Case cases[] = {
      {"a b/ü.flac", "/music", false, "/music/a b/ü.flac", ""},
      {"a.flac", "/", false, "/a.flac", ""},
      {"/elsewhere/a.flac", "", true, "/elsewhere/a.flac", ""},
      {"", "/music", true, "", ""},
      {"http://radio.example/stream", "/music", true, "", ""},
      {"nfs://server/music/a.flac", "/music", true, "", ""},
      // Checked before use: nothing that leaves the folder, nothing of another machine's.
      {"../etc/passwd", "/music", true, "", "points outside its music folder"},
      {"a/../../x.flac", "/music", true, "", "points outside its music folder"},
      {"a//x.flac", "/music", true, "", "points outside its music folder"},
      {"/elsewhere/../x.flac", "", true, "", "not a file Jukora can find"},
      {"/elsewhere/a.flac", "/music", false, "", "not a file Jukora can find"},
      {"a.flac", "", true, "", "set that folder in Preferences"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    MpdSongPath song = local_song_path(c.file, c.folder, c.this_computer);
    EXPECT_EQ(song.path, c.path);
    if (c.message.empty()) {
      EXPECT_EQ(song.message, "");
    } else {
      EXPECT_NE(song.message.find(c.message), std::string::npos) << song.message;
    }
  }
}

}  // namespace
}  // namespace jukora
