// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening, through the real mpv Jukora drives over
// its socket: 20-second songs seeked to each side of the rule's boundaries.
#include <signal.h>
#include <sys/stat.h>

#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "support/listening_rig.h"
#include "support/players_posix.h"

namespace jukora::testing {
namespace {

using std::chrono::milliseconds;

class ListeningMpvTest : public ::testing::Test, protected SavedSonglist {
 protected:
  ListeningMpvTest() {
    EXPECT_TRUE(runtime_ready);
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir);
    write_bytes(temp.file("mpv"), "#!/bin/sh\nexec /usr/bin/mpv --ao=null --vo=null \"$@\"\n");
    chmod(temp.file("mpv").c_str(), 0755);
  }
  ~ListeningMpvTest() override {
    for (pid_t pid : players_on(mpv->socket_path())) kill(pid, SIGKILL);
  }

  bool ask(const std::vector<std::string>& command) {
    auto session = MpvSession::connect(mpv->socket_path(), milliseconds(2000));
    return session && session->ask(command).ok;
  }

  std::string dir = temp.path().string();
  bool runtime_ready = use_runtime_dir(temp.file("run"));
  std::unique_ptr<MpvLink> mpv = make_mpv_link(AppFolders{temp.file("data")});
  ListeningRig rig{*this, *mpv, dir,
                   ListeningHands{
                       .seek =
                           [this](double at) {
                             return ask({"seek", std::to_string(at), "absolute"});
                           },
                       .pause =
                           [this] {
                             ask({"set", "pause", "yes"});
                           },
                       .next =
                           [this](const std::string& song) {
                             ask({"loadfile", song, "append"});
                             ask({"playlist-next"});
                           },
                       .eventually = [](const auto& done, milliseconds limit) { return eventually(done, limit); },
                   }};
};

TEST_F(ListeningMpvTest, SeeksToEachBoundaryThenSkipNextPauseStopOrTheEnd) {
  for (const ListeningPlay& play : kBoundaryPlays) rig.play(play);
  EXPECT_EQ(files.undo_label(), "listening score of song.wav");
}

}  // namespace
}  // namespace jukora::testing
