// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <tuple>

#include "player/mpd/mpd_paths.h"

namespace jukora {
namespace {

TEST(MpdPaths, ASongIsNamedAsMpdTakesIt) {
  // The path, the music folder, whether over a local socket, the URI (empty:
  // refused) and part of the reason.
  const std::tuple<std::string, std::string, bool, std::string, std::string> cases[] = {
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
  for (const auto& [path, folder, local_socket, uri, refusal] : cases) {
    SCOPED_TRACE(path);
    MpdTarget target = mpd_target(path, folder, local_socket);
    EXPECT_EQ(target.uri, uri);
    EXPECT_EQ(target.in_music_folder, !uri.empty() && !uri.starts_with('/'));
    EXPECT_NE(target.refusal.find(refusal), std::string::npos) << target.refusal;
  }
}

TEST(MpdPaths, TheSongMpdNamesBecomesTheLocalPathOrNoSong) {
  // What MPD names, its music folder, whether it is on this computer, the
  // path, and part of the message (empty: none).
  const std::tuple<std::string, std::string, bool, std::string, std::string> cases[] = {
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
  for (const auto& [file, folder, this_computer, path, message] : cases) {
    SCOPED_TRACE(file);
    MpdSongPath song = local_song_path(file, folder, this_computer);
    EXPECT_EQ(song.path, path);
    if (message.empty()) {
      EXPECT_EQ(song.message, "");
    } else {
      EXPECT_NE(song.message.find(message), std::string::npos) << song.message;
    }
  }
}

}  // namespace
}  // namespace jukora
