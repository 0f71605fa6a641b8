// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp's protocol against a stand-in for its window: the song it is at,
// read from the playlist it writes, its status and the command lines that
// start it.
#include "player/winamp/winamp_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/current_song.h"
#include "player/winamp/winamp_texts.h"
#include "support/fakes.h"

namespace jukora {
namespace {

// Answers from its fields; writes `playlist_text` where Winamp writes its
// playlist when asked to, and records what it is sent.
class FakeWinampWindow : public WinampWindow {
 public:
  Handle find_winamp() override { return running ? 7 : kNoWindow; }
  std::optional<long> version(Handle) override { return version_answer; }
  std::optional<long> write_playlist(Handle) override {
    if (playlist_text) testing::write_bytes(playlist_file, *playlist_text);
    return position;
  }
  std::optional<long> is_playing(Handle) override { return playing; }
  std::optional<long> output_time(Handle, OutputTime what) override {
    return what == kOutputPosition ? position_ms : length_s;
  }
  void stop(Handle window) override { sent.push_back("stop " + std::to_string(window)); }
  void run(const std::string& program, const std::string& command_line) override {
    sent.push_back(program + " | " + command_line);
  }

  bool running = true;
  std::optional<long> version_answer = 0x2090, position = 0, playing = 1, position_ms = -1, length_s = -1;
  std::optional<std::string> playlist_text;
  std::string playlist_file;
  std::vector<std::string> sent;
};

class WinampLinkTest : public ::testing::Test {
 protected:
  WinampLinkTest() {
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.path().string());
    window.playlist_file = join_path(dir.path().string(), "winamp.m3u");
  }

  std::string lookup(const std::string& playlist, long position) {
    window.playlist_text = playlist;
    window.position = position;
    return get_current_song(link, settings, desktop);
  }

  testing::TempDir dir;
  MemorySettingsStore settings;
  testing::FakeDesktop desktop;
  FakeWinampWindow window;
  std::unique_ptr<PlayerLink> winamp = make_winamp_link(window);
  PlayerLink& link = *winamp;
};

TEST_F(WinampLinkTest, ReadsTheLineAtThePlayersPositionAsWritten) {
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
  // Positions count past sixteen bits, with no wrap-around to position 1.
  std::string playlist;
  for (int i = 0; i < 40000; ++i) playlist += "song" + std::to_string(i) + ".mp3\r\n";
  EXPECT_EQ(lookup(playlist, 32768), "song32768.mp3");
  EXPECT_EQ(lookup(playlist, 40000), "");
  EXPECT_EQ(playlist_entry("a\r\nb\r\n", 65537), "");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.preferences_shown, 0);
}

TEST_F(WinampLinkTest, TellsTheUserWhatIsWrong) {
  window.running = false;
  EXPECT_EQ(get_current_song(link, settings, desktop), "");
  window.running = true;
  window.version_answer = kLowestVersion;
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "a.mp3");
  window.version_answer = kLowestVersion - 1;
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.messages,
            (std::vector<std::string>{"Winamp is not running.  To run winamp, select a playmode or run Winamp manually",
                                      "This program requires Winamp 2.05 or higher"}));
  // A version request that ran out is busy too, never too old.
  window.version_answer = std::nullopt;
  EXPECT_EQ(link.current_song(dir.path().string()).kind, CurrentSong::Kind::kBusy);
  EXPECT_EQ(desktop.messages.size(), 2u);
  EXPECT_EQ(desktop.preferences_shown, 0);

  // The player answers, but its playlist is not where the Winamp directory says.
  window.version_answer = 0x2090;
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.file("elsewhere"));
  EXPECT_EQ(lookup("a.mp3\r\n", 0), "");
  EXPECT_EQ(desktop.messages.back(), "Winamp playlist not found.  Do you have the right Winamp dir?");
  EXPECT_EQ(desktop.preferences_shown, 1);
}

TEST_F(WinampLinkTest, ReadsTheStatusWithThePositionAndStartsWinampWithItsCommandLines) {
  using std::chrono::milliseconds;
  using ms = std::optional<milliseconds>;
  const std::optional<long> none;
  // IPC_ISPLAYING, IPC_GETOUTPUTTIME's position (ms) and length (s); what
  // play_status and play_position make of them.
  struct Case {
    std::optional<long> playing, position_ms, length_s;
    PlayStatus status;
    ms position, length;
  };
  const Case cases[] = {
      {1, 9500, 20, PlayStatus::kPlaying, milliseconds(9500), milliseconds(20000)},
      {3, 0, 183, PlayStatus::kPaused, milliseconds(0), milliseconds(183000)},
      {1, 4000, 0, PlayStatus::kPlaying, milliseconds(4000), std::nullopt},  // a stream: no length
      {1, -1, -1, PlayStatus::kPlaying, std::nullopt, std::nullopt},         // between two songs
      {0, -1, -1, PlayStatus::kStopped, std::nullopt, std::nullopt},
      {2, 5000, 20, PlayStatus::kStopped, std::nullopt, std::nullopt},  // stopped: not asked
      {none, 5000, 20, PlayStatus::kBusy, std::nullopt, std::nullopt},
      {1, none, 20, PlayStatus::kBusy, std::nullopt, std::nullopt},  // no answer in time: nothing made up
      {1, 5000, none, PlayStatus::kBusy, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    window.playing = c.playing;
    window.position_ms = c.position_ms;
    window.length_s = c.length_s;
    const PlayPosition at = link.play_position();
    const std::string which = std::to_string(c.playing.value_or(-9)) + " " +
                              std::to_string(c.position_ms.value_or(-9)) + " " +
                              std::to_string(c.length_s.value_or(-9));
    if (c.status != PlayStatus::kBusy || c.playing == none) {
      EXPECT_EQ(link.play_status(), c.status) << which;
    }
    EXPECT_EQ(at.status, c.status) << which;
    EXPECT_EQ(at.position, c.position) << which;
    EXPECT_EQ(at.length, c.length) << which;
  }
  window.running = false;
  EXPECT_EQ(link.reach(), Reach::kNotRunning);
  EXPECT_EQ(link.play_status(), PlayStatus::kStopped) << "a request to no window answers 0";
  EXPECT_EQ(link.play_position().status, PlayStatus::kStopped);
  link.stop();
  EXPECT_TRUE(window.sent.empty());
  window.running = true;
  EXPECT_EQ(link.reach(), Reach::kRunning);
  link.stop();

  const std::string program = join_path("W", "winamp.exe");
  link.start("W");
  link.play_file("W", "D:\\mp3\\a, b.mp3");
  link.play_playlist("W");
  EXPECT_EQ(window.sent, (std::vector<std::string>{
                             "stop 7", program + " | " + program, program + " | " + program + " \"D:\\mp3\\a, b.mp3\"",
                             program + " | " + program + " \"" + join_path("W", "winamp.m3u") + "\""}));
}

}  // namespace
}  // namespace jukora
