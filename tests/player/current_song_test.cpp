// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/current_song.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "support/fakes.h"

namespace jukora {
namespace {

class CurrentSong : public ::testing::Test {
 protected:
  CurrentSong() {
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.path().string());
    link.playlist_dir = dir.path().string();
  }

  std::string lookup(const std::string& playlist, long position) {
    link.playlist_text = playlist;
    link.position = position;
    return get_current_song(link, settings, desktop);
  }

  testing::TempDir dir;
  MemorySettingsStore settings;
  testing::FakeDesktop desktop;
  testing::FakePlayerLink link;
};

TEST_F(CurrentSong, ReadsTheLineAtThePlayersPositionAsWritten) {
  EXPECT_EQ(lookup("#EXTM3U\r\n#EXTINF:183,Artist - One\r\nC:\\mp3\\one.mp3\r\n", 0), "C:\\mp3\\one.mp3");
  EXPECT_EQ(lookup("#EXTM3U\r\n#EXTINF:1,a\r\na\r\n#EXTINF:1,b\r\nb\r\n", 1), "b");
  EXPECT_EQ(lookup("/m/a.mp3\r\n/m/b.mp3\r\n/m/c.mp3\r\n", 2), "/m/c.mp3");
  EXPECT_EQ(lookup("a\r\n\r\nb\r\n", 2), "b") << "an empty line is an entry";
  EXPECT_EQ(lookup("music\\Rel Path.MP3 \r\n", 0), "music\\Rel Path.MP3 ");
  EXPECT_EQ(lookup("unix\nline ends", 1), "line ends");
  // Too few entries, or none at all: nothing, and quietly.
  EXPECT_EQ(lookup("a\r\nb\r\nc\r\n", 5), "");
  EXPECT_EQ(lookup("a\r\nb\r\nc\r\n", 3), "") << "the last line end makes no fourth entry";
  EXPECT_EQ(lookup("a\r\n", -1), "");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.preferences_shown, 0);
}

TEST_F(CurrentSong, CountsPastSixteenBits) {
  std::string playlist;
  for (int i = 0; i < 40000; ++i) playlist += "song" + std::to_string(i) + ".mp3\r\n";
  EXPECT_EQ(lookup(playlist, 32768), "song32768.mp3");
  EXPECT_EQ(lookup(playlist, 40000), "");
  EXPECT_EQ(playlist_entry("a\r\nb\r\n", 65537), "") << "no wrap-around to position 1";
}

TEST_F(CurrentSong, TellsTheUserWhatIsWrong) {
  link.running = false;
  EXPECT_EQ(get_current_song(link, settings, desktop), "");
  link.running = true;
  link.version_answer = kLowestVersion;
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "a.mp3");
  link.version_answer = kLowestVersion - 1;
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.messages,
            (std::vector<std::string>{"Winamp is not running.  To run winamp, select a playmode or run Winamp manually",
                                      "This program requires Winamp 2.05 or higher"}));
  EXPECT_EQ(desktop.preferences_shown, 0);

  // The player answers, but its playlist is not where the Winamp directory says.
  link.version_answer = 0x2090;
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.file("elsewhere"));
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.messages.back(), "Winamp playlist not found.  Do you have the right Winamp dir?");
  EXPECT_EQ(desktop.preferences_shown, 1);
}

}  // namespace
}  // namespace jukora
