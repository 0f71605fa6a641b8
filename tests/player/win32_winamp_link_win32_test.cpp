#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/current_song.h"
#include "player/executable_check.h"
#include "player/win32_winamp_link.h"
#include "support/fakes.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

template <class Condition>
bool eventually(Condition condition) {
  auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

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
    EXPECT_TRUE(eventually([&] { return !(log = testing::read_bytes(winamp_dir + "\\winamp.exe.log")).empty(); }));
    close_players();
    fs::remove(winamp_dir + "\\winamp.exe.log");
    EXPECT_FALSE(fs::exists(root.path() / "Program.exe.log")) << "the trap ran";
    return log;
  }

  testing::TempDir root;
  fs::path dir = root.path() / "Program Files" / "Winamp";
  std::string winamp_dir = dir.string();
  Win32WinampLink link;
  MemorySettingsStore settings;
  testing::FakeDesktop desktop;
};

TEST_F(Win32WinampLinkTest, StartsThePlayerItselfWithTheCommandLinesAsWritten) {
  EXPECT_TRUE(executable_exists(link, winamp_dir));
  const std::string program = winamp_dir + "\\winamp.exe";
  link.start(winamp_dir);
  EXPECT_EQ(started_with(), program + "\n" + std::to_string(SW_SHOWMINIMIZED) + "\n");
  link.start_with_file(winamp_dir, "C:\\My Music\\a, b.mp3");
  EXPECT_EQ(started_with(), program + " \"C:\\My Music\\a, b.mp3\"\n2\n");
  link.start_with_playlist(winamp_dir);
  EXPECT_EQ(started_with(), program + " \"" + winamp_dir + "\\winamp.m3u\"\n2\n");
}

TEST_F(Win32WinampLinkTest, AsksTheRunningPlayer) {
  EXPECT_EQ(link.find_winamp(), kNoPlayer);
  EXPECT_EQ(link.play_status(kNoPlayer), 0);
  EXPECT_LT(link.write_playlist(kNoPlayer), 0);

  link.start(winamp_dir);
  ASSERT_TRUE(eventually([&] { return link.find_winamp() != kNoPlayer; }));
  PlayerHandle player = link.find_winamp();
  EXPECT_EQ(link.version(player), 0x2090);
  EXPECT_EQ(link.play_status(player), kStatusPlaying);
  EXPECT_EQ(get_current_song(link, settings, desktop), "C:\\music\\two.mp3");
  EXPECT_TRUE(desktop.messages.empty());
  link.stop(player);
  EXPECT_EQ(link.play_status(player), 0);

  // A player that hangs is busy, never too old and never stopped.
  testing::write_bytes(winamp_dir + "\\winamp.exe.hang", "");
  EXPECT_EQ(link.play_status(player), kStatusBusy);
  EXPECT_EQ(link.version(player), kStatusBusy);
  EXPECT_EQ(link.current_song(winamp_dir).kind, CurrentSong::Kind::kBusy);
  fs::remove(winamp_dir + "\\winamp.exe.hang");
}

}  // namespace
}  // namespace jukora
