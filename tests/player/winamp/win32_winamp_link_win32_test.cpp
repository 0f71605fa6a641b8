// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/current_song.h"
#include "player/executable_check.h"
#include "player/winamp/win32_winamp_window.h"
#include "player/winamp/winamp_link.h"
#include "playmodes/play_modes.h"
#include "scoring/add_songs.h"
#include "scoring/current_song_scoring.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using testing::eventually;
using testing::read_bytes;

// The fake player is built beside the test program.
fs::path fake_player() {
  char path[MAX_PATH];
  return fs::path(std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH))).parent_path() / "fake_winamp.exe";
}

void close_players() {
  for (int i = 0; i < 20; ++i) {
    HWND window = FindWindowA("Winamp v1.x", nullptr);
    if (!window) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process) {
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
}

// The player where Windows puts it, and a trap at the unquoted prefix of
// its path: "<root>\Program.exe" for "<root>\Program Files\Winamp\winamp.exe".
class Win32WinampLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    close_players();
    fs::create_directories(dir);
    fs::copy_file(fake_player(), dir / "winamp.exe");
    fs::copy_file(fake_player(), root.path() / "Program.exe");
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, winamp_dir);
  }
  void TearDown() override { close_players(); }

  // The command line the player was started with, once it runs.
  std::string started_with() {
    std::string log;
    EXPECT_TRUE(eventually([&] { return !(log = read_bytes(winamp_dir + "\\winamp.exe.log")).empty(); }, 20s));
    close_players();
    fs::remove(winamp_dir + "\\winamp.exe.log");
    EXPECT_FALSE(fs::exists(root.path() / "Program.exe.log")) << "the trap ran";
    return log;
  }

  testing::TempDir root;
  fs::path dir = root.path() / "Program Files" / "Winamp";
  std::string winamp_dir = dir.string();
  Win32WinampWindow window;
  std::unique_ptr<PlayerLink> winamp = make_winamp_link(window);
  PlayerLink& link = *winamp;
  MemorySettingsStore settings;
  testing::FakeDesktop desktop;
};

TEST_F(Win32WinampLinkTest, StartsThePlayerItselfWithTheCommandLinesAsWritten) {
  EXPECT_FALSE(program_missing_from_folder(link, winamp_dir));
  const std::string program = winamp_dir + "\\winamp.exe";
  link.start(winamp_dir);
  EXPECT_EQ(started_with(), program + "\n" + std::to_string(SW_SHOWMINIMIZED) + "\n");
  link.play_file(winamp_dir, "C:\\My Music\\a, b.mp3");
  EXPECT_EQ(started_with(), program + " \"C:\\My Music\\a, b.mp3\"\n2\n");
  link.play_playlist(winamp_dir);
  EXPECT_EQ(started_with(), program + " \"" + winamp_dir + "\\winamp.m3u\"\n2\n");
}

TEST_F(Win32WinampLinkTest, AsksTheRunningPlayer) {
  EXPECT_EQ(window.find_winamp(), WinampWindow::kNoWindow);
  EXPECT_EQ(link.play_status(), PlayStatus::kStopped);
  EXPECT_EQ(link.current_song(winamp_dir).kind, CurrentSong::Kind::kNotRunning);

  link.start(winamp_dir);
  ASSERT_TRUE(eventually([&] { return window.find_winamp() != WinampWindow::kNoWindow; }, 20s));
  const WinampWindow::Handle player = window.find_winamp();
  EXPECT_EQ(window.version(player), 0x2090);
  EXPECT_EQ(link.play_status(), PlayStatus::kPlaying);
  EXPECT_EQ(get_current_song(link, settings, desktop), "C:\\music\\two.mp3");
  EXPECT_TRUE(desktop.messages.empty());
  // Where it is in the song: nothing (-1) until it is told, then as told.
  PlayPosition at = link.play_position();
  EXPECT_EQ(at.status, PlayStatus::kPlaying);
  EXPECT_EQ(at.position, std::nullopt);
  EXPECT_EQ(at.length, std::nullopt);
  testing::write_bytes(winamp_dir + "\\winamp.exe.time", "9500 20");
  at = link.play_position();
  EXPECT_EQ(at.position, 9500ms);
  EXPECT_EQ(at.length, 20s);
  link.stop();
  EXPECT_EQ(link.play_status(), PlayStatus::kStopped);
  at = link.play_position();
  EXPECT_EQ(at.status, PlayStatus::kStopped);
  EXPECT_EQ(at.position, std::nullopt);

  // A player that hangs is busy, never too old and never stopped.
  testing::write_bytes(winamp_dir + "\\winamp.exe.hang", "");
  EXPECT_EQ(link.play_status(), PlayStatus::kBusy);
  EXPECT_EQ(link.play_position().status, PlayStatus::kBusy);
  EXPECT_EQ(window.version(player), std::nullopt);
  EXPECT_EQ(link.current_song(winamp_dir).kind, CurrentSong::Kind::kBusy);
  fs::remove(winamp_dir + "\\winamp.exe.hang");
}

// Songlists hold their paths in the ANSI code page; the player folder, the
// song's folder and name and the songlist's own name all hold such letters.
TEST_F(Win32WinampLinkTest, AnAnsiNamedSongIsDroppedPlayedScoredAndSavedByteForByte) {
  // Letters outside ASCII that the ANSI code page holds, in both encodings.
  // Those whose bytes would read as other letters in Latin-1 come first, so a
  // conversion that takes the bytes for Latin-1 cannot pass unseen.
  std::wstring wide;
  std::string ansi;
  const bool utf8 = GetACP() == CP_UTF8;
  for (wchar_t letter : std::wstring(L"\u0160\u017e\u0152\u00e9\u00fc\u0416\u03a9\u3042")) {
    char bytes[8];
    BOOL lossy = FALSE;
    int size = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, &letter, 1, bytes, sizeof bytes, nullptr,
                                   utf8 ? nullptr : &lossy);
    if (size <= 0 || lossy || wide.size() == 3) continue;
    wide.push_back(letter);
    ansi.append(bytes, static_cast<std::size_t>(size));
  }
  ASSERT_FALSE(wide.empty()) << "code page " << GetACP();
  SCOPED_TRACE("code page " + std::to_string(GetACP()));
  const fs::path player_dir = root.path() / (L"Winamp " + wide);
  const fs::path song_dir = root.path() / (L"M" + wide);
  fs::create_directories(player_dir);
  fs::create_directories(song_dir);
  fs::copy_file(fake_player(), player_dir / "winamp.exe");
  std::ofstream(song_dir / (wide + L".mp3")) << "x";
  std::ofstream(song_dir / (L"b" + wide + L".mp3")) << "x";

  const std::string ansi_player_dir = root.path().string() + "\\Winamp " + ansi;
  const std::string folder = root.path().string() + "\\M" + ansi;
  const std::string song = ansi + ".mp3";
  const fs::path list = song_dir / (wide + L".jk8");
  std::ofstream(list, std::ios::binary) << "\"" + folder + "\",\"" + song + "\",\"3\",\"00:00 1/1/71\"\r\n";
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, ansi_player_dir);
  settings.SaveSetting(sections::kMain, keys::kLastSet, folder + "\\" + ansi + ".jk8");

  AppFolders folders{root.path().string()};
  DialogMemory dialog;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders};
  testing::FakeClock clock;
  testing::FakeTimer timer;
  PlayModes modes{songlist, files, settings, link, desktop, clock, timer};
  testing::FakeTimer retry;
  CurrentSongScoring scoring{songlist, files, settings, link, desktop, retry};
  testing::FakeEventLoop loop;
  AddSongs add{songlist, files, desktop, loop, dialog};

  files.read_songlist();
  add.drop({folder});  // the listed song is found again, the other one is new
  ASSERT_EQ(songlist.Rows(), 3);
  EXPECT_EQ(songlist.TextMatrix(2, col::kFile), "b" + song);
  songlist.SetRow(1);
  modes.play_row(songlist.Row());
  // The player notes its command line once its window is up.
  const std::u8string command_line =
      fs::path(player_dir.wstring() + L"\\winamp.exe \"" + song_dir.wstring() + L"\\" + wide + L".mp3\"\n2\n")
          .u8string();
  const std::string started(command_line.begin(), command_line.end());
  std::string log;
  EXPECT_TRUE(eventually([&] { return (log = read_bytes(player_dir / "winamp.exe.log")) == started; }, 20s)) << log;
  scoring.increment_current_song();  // the player writes its playlist in the ANSI code page too

  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(read_bytes(list), "\"" + folder + "\",\"" + song + "\",\"4\",\"11:00 12/6/26\"\r\n\"" + folder + "\",\"b" +
                                  song + "\",\"0\",\"00:00 1/1/71\"\r\n");
}

}  // namespace
}  // namespace jukora
