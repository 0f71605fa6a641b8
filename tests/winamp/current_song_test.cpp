#include "winamp/current_song.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "support/fakes.h"

namespace jukora {
namespace {

using testing::FakeDesktop;
using testing::FakeWinampLink;
using testing::TempDir;

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

  TempDir dir;
  MemorySettingsStore settings;
  FakeDesktop desktop;
  FakeWinampLink link;
};

TEST_F(CurrentSong, PicksTheEntryAtThePlayersPosition) {
  const std::string extended = "#EXTM3U\r\n#EXTINF:183,Artist - One\r\nC:\\mp3\\one.mp3\r\n";
  EXPECT_EQ(lookup(extended, 0), "C:\\mp3\\one.mp3");

  const std::string bare = "/m/a.mp3\r\n/m/b.mp3\r\n/m/c.mp3\r\n";
  EXPECT_EQ(lookup(bare, 0), "/m/a.mp3");
  EXPECT_EQ(lookup(bare, 2), "/m/c.mp3");

  // Information lines between entries do not shift the count.
  EXPECT_EQ(lookup("#EXTM3U\r\n#EXTINF:1,a\r\na\r\n#EXTINF:1,b\r\nb\r\n", 1), "b");

  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(CurrentSong, ReturnsTheLineAsWritten) {
  EXPECT_EQ(lookup("a\r\n\r\nb\r\n", 2), "b") << "an empty line is an entry";
  EXPECT_EQ(lookup("a\r\n\r\nb\r\n", 1), "");
  EXPECT_EQ(lookup("music\\Rel Path.MP3\r\n", 0), "music\\Rel Path.MP3");
  EXPECT_EQ(lookup("  padded name.mp3  \r\n", 0), "  padded name.mp3  ");
  EXPECT_EQ(lookup("no final line end.mp3", 0), "no final line end.mp3");
  EXPECT_EQ(lookup("unix\nline\nends\n", 1), "line");
  EXPECT_EQ(lookup("first.mp3\r\nfirst.mp3\r\n", 1), "first.mp3");
}

TEST_F(CurrentSong, AnswersNothingQuietlyWhenThePositionHasNoEntry) {
  EXPECT_EQ(lookup("a\r\nb\r\nc\r\n", 5), "");
  EXPECT_EQ(lookup("a\r\nb\r\nc\r\n", 3), "") << "a final line end does not make a fourth entry";
  EXPECT_EQ(lookup("#EXTM3U\r\n", 0), "");
  EXPECT_EQ(lookup("", 0), "");
  EXPECT_EQ(lookup("a\r\n", -1), "");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.preferences_shown, 0);
}

TEST_F(CurrentSong, CountsPastSixteenBits) {
  std::string playlist = "#EXTM3U\r\n";
  for (int i = 0; i < 40000; ++i) playlist += "song" + std::to_string(i) + ".mp3\r\n";
  EXPECT_EQ(lookup(playlist, 32767), "song32767.mp3");
  EXPECT_EQ(lookup(playlist, 32768), "song32768.mp3");
  EXPECT_EQ(lookup(playlist, 39999), "song39999.mp3");
  EXPECT_EQ(lookup(playlist, 40000), "");
  EXPECT_EQ(playlist_entry("a\r\nb\r\n", 65536L + 1), "");
}

TEST_F(CurrentSong, TellsWhenThePlayerIsNotRunning) {
  link.running = false;
  EXPECT_EQ(get_current_song(link, settings, desktop), "");
  EXPECT_EQ(desktop.messages, std::vector<std::string>{
                                  "Winamp is not running.  To run winamp, select a playmode or run Winamp manually"});
  EXPECT_EQ(desktop.preferences_shown, 0);
  EXPECT_EQ(link.calls, std::vector<std::string>{"find_winamp"});
}

TEST_F(CurrentSong, AcceptsTheLowestVersionAndRefusesOlder) {
  link.version_answer = kLowestVersion;
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "a.mp3");
  EXPECT_TRUE(desktop.messages.empty());

  link.version_answer = kLowestVersion - 1;
  link.calls.clear();
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.messages, std::vector<std::string>{"This program requires Winamp 2.05 or higher"});
  EXPECT_EQ(desktop.preferences_shown, 0);
  EXPECT_EQ(link.calls, (std::vector<std::string>{"find_winamp", "version"})) << "no playlist is asked for";
}

TEST_F(CurrentSong, NegativePositionReadsNoFile) {
  link.position = -1;
  EXPECT_EQ(get_current_song(link, settings, desktop), "");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.preferences_shown, 0);
}

TEST_F(CurrentSong, MissingPlaylistOpensThePreferences) {
  // The player answers, but the file is not where the Winamp directory says.
  link.playlist_text.reset();
  link.position = 0;
  EXPECT_EQ(get_current_song(link, settings, desktop), "");
  EXPECT_EQ(desktop.messages,
            std::vector<std::string>{"Winamp playlist not found.  Do you have the right Winamp dir?"});
  EXPECT_EQ(desktop.preferences_shown, 1);

  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.file("elsewhere"));
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.preferences_shown, 2);
}

}  // namespace
}  // namespace jukora
