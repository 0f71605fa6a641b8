// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "scoring/reported_song.h"
#include "support/fakes.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;

TEST(ReportedSong, OnlyAReadableRegularFileNamedPlainlyBecomesASong) {
  testing::TempDir temp;
  const std::string music = temp.file("music");
  std::filesystem::create_directories(music + "/sub");
  testing::write_bytes(music + "/a.wav", "RIFF");
  testing::write_bytes(temp.file("secret.wav"), "RIFF");
  testing::write_bytes(music + "/locked.wav", "RIFF");
  chmod((music + "/locked.wav").c_str(), 0);
  mkfifo((music + "/pipe.wav").c_str(), 0600);
  const auto look = [](const std::string& path) { return look_at_song_file(path, 2s); };
  // What the player names, the song it becomes (empty: none) and part of why not.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {music + "/a.wav", music + "/a.wav", ""},
      // The folder is spelled as the system resolves it; the song is still there.
      {music + "/sub/../a.wav", music + "/a.wav", ""},
      {music + "/./sub//../a.wav", music + "/a.wav", ""},
      {music + "/sub/../../secret.wav", temp.file("secret.wav"), ""},
      {music + "/gone.wav", "", "\"gone.wav\" cannot be listed: it does not exist"},
      {music + "/nowhere/../a.wav", "", "it does not exist"},
      {music + "/sub", "", "not a regular file"},
      {music + "/pipe.wav", "", "not a regular file"},
      {music + "/two\r\nlines.wav", "", "\"two??lines.wav\" cannot be listed: its name holds a control character"},
      {music + "/" + std::string(256, 'x') + ".wav", "", "a name in it is longer than this system allows"},
      {"/" + std::string(5000, 'y'), "", "its name is longer than this system allows"},
      {music + "/..", "", "names a folder"},
      {"a.wav", "", "not a file on this computer"},
  };
  for (const auto& [named, song, why] : cases) {
    SCOPED_TRACE(named.substr(0, 80));
    const ReportedSong checked = check_reported_song(named, look);
    EXPECT_EQ(checked.path, song);
    if (why.empty()) {
      EXPECT_EQ(checked.problem, "");
    } else {
      EXPECT_NE(checked.problem.find(why), std::string::npos) << checked.problem;
    }
  }
  // Root reads every file whatever its mode.
  if (geteuid() != 0) {
    EXPECT_NE(check_reported_song(music + "/locked.wav", look).problem.find("you may not read it"), std::string::npos);
  }
  // A disk that does not answer in time is no song for this click.
  const auto stuck = [](const std::string&) { return SongFileLook{}; };
  EXPECT_NE(check_reported_song(music + "/a.wav", stuck).problem.find("did not answer in time"), std::string::npos);
  // Long names are shown cut short, never in the middle of a letter.
  EXPECT_EQ(shown_song("/m/" + std::string(59, 'z') + "\u00fc.wav"), "\"" + std::string(59, 'z') + "\u2026\"");
}

}  // namespace
}  // namespace jukora
