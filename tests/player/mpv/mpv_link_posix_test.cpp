// SPDX-License-Identifier: GPL-3.0-or-later
// MpvLink against a scripted mpv on its socket, for the moments a real mpv
// only shows now and then: a player that is busy but at no entry yet, one
// that never answers, and sockets that are not its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "platform/private_folder.h"
#include "player/mpv/mpv_link.h"
#include "support/held_time.h"
#include "support/players_posix.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using testing::held_by;
using testing::players_on;
using testing::TempDir;

// Answers get_property for "playlist" and "idle-active" from its fields;
// "stop" leaves the playlist in place at no entry, as mpv does.
class ScriptedMpv {
 public:
  explicit ScriptedMpv(const std::string& socket_path) {
    listener_ = testing::unix_socket_at(socket_path, 8);
    EXPECT_GE(listener_, 0);
    server_ = std::thread([this] {
      for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0; close(client)) {
        std::string input;
        char buffer[4096];
        for (ssize_t n; (n = read(client, buffer, sizeof buffer)) > 0;) {
          input.append(buffer, static_cast<std::size_t>(n));
          for (std::size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
            if (muted) continue;
            std::string reply = answer(json::parse(input.substr(0, end))).dump() + "\n";
            EXPECT_EQ(write(client, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
          }
        }
      }
    });
  }
  ~ScriptedMpv() {
    shutdown(listener_, SHUT_RDWR);
    server_.join();
    close(listener_);
  }

  void set(json playlist, bool idle) {
    std::lock_guard lock(mutex_);
    playlist_ = std::move(playlist);
    idle_ = idle;
  }
  // Takes every request and answers none, like an mpv stopped with SIGSTOP
  // once its connections are accepted.
  std::atomic<bool> muted = false;

 private:
  json answer(const json& request) {
    std::lock_guard lock(mutex_);
    const json& command = request["command"];
    json reply = {{"request_id", request["request_id"]}, {"error", "success"}};
    if (command == json{"get_property", "playlist"}) {
      reply["data"] = playlist_;
    } else if (command == json{"get_property", "idle-active"}) {
      reply["data"] = idle_;
    } else if (command[0] == "stop") {
      for (auto& entry : playlist_) entry.erase("current"), entry.erase("playing");
      idle_ = true;
    } else {
      reply["error"] = "property unavailable";
    }
    return reply;
  }

  int listener_ = -1;
  std::thread server_;
  std::mutex mutex_;
  json playlist_ = json::array();
  bool idle_ = true;
};

class MpvLinkSocket : public ::testing::Test {
 protected:
  MpvLinkSocket() {
    // A stand-in that stays up a while on its command line, so that a start
    // can be seen.
    testing::write_bytes(temp.file("mpv"), "#!/bin/sh\nsleep 5\n");
    chmod(temp.file("mpv").c_str(), 0755);
  }
  ~MpvLinkSocket() override {
    for (pid_t pid : players_on(socket)) kill(pid, SIGKILL);
  }

  // Something that is not our mpv holds the socket's place.
  void expect_refused() {
    EXPECT_EQ(link->reach(), Reach::kNotRunning);
    EXPECT_EQ(link->missing_program(dir()),
              socket + " is not Jukora's own mpv socket, so mpv is not started. Remove it and try again.");
    CurrentSong song = link->current_song(dir());
    EXPECT_EQ(song.kind, CurrentSong::Kind::kNoSong);
    EXPECT_EQ(song.message, link->missing_program(dir()));
    link->start(dir());
    EXPECT_NE(link->play_file(dir(), "/m/a.wav").result, HandOver::Result::kStarted);
    EXPECT_TRUE(players_on(socket).empty()) << "a player was started over it";
  }
  std::string dir() const { return temp.path().string(); }

  TempDir temp;
  bool runtime_ready = testing::use_runtime_dir(temp.file("run"));
  std::unique_ptr<MpvLink> link = make_mpv_link(AppFolders{temp.file("data")});
  std::string socket = link->socket_path();
};

TEST_F(MpvLinkSocket, APlayerJustStartedIsBusyUntilItAnswers) {
  link->start(dir());
  EXPECT_EQ(link->reach(), Reach::kBusy) << "started now";
  // mpv takes connections a while before it answers them.
  ScriptedMpv mpv(socket);
  mpv.muted = true;
  EXPECT_EQ(link->reach(), Reach::kBusy);
  mpv.muted = false;
  EXPECT_TRUE(testing::eventually([&] { return link->reach() == Reach::kRunning; }));
  EXPECT_EQ(players_on(socket).size(), 1u);
}

TEST_F(MpvLinkSocket, APlayerThatNeverAnswersIsBusyAtOnceAndNeverJoinedByASecond) {
  ScriptedMpv mpv(socket);
  mpv.muted = true;
  // Every request, as one event would make them; none may start a player.
  const auto held = held_by([&] {
    EXPECT_NE(link->reach(), Reach::kNotRunning);
    EXPECT_EQ(link->play_status(), PlayStatus::kBusy);
    EXPECT_EQ(link->reach(), Reach::kBusy);
    EXPECT_EQ(link->current_song(dir()).kind, CurrentSong::Kind::kBusy);
    EXPECT_EQ(link->play_file(dir(), "/m/a.wav").result, HandOver::Result::kBusy);
    EXPECT_EQ(link->play_playlist(dir()).result, HandOver::Result::kBusy);
    link->start(dir());
    link->stop();
  });
  EXPECT_LT(held, 500ms) << "waited on a player that does not answer";
  EXPECT_TRUE(players_on(socket).empty()) << "a second player was started";
  EXPECT_EQ(link->missing_program(dir()), "");
}

TEST_F(MpvLinkSocket, ALinkOrAnotherUsersSocketIsNeverUsedNorReplaced) {
  ScriptedMpv elsewhere(temp.file("other-socket"));
  ASSERT_EQ(symlink(temp.file("other-socket").c_str(), socket.c_str()), 0);
  expect_refused();
  ASSERT_EQ(unlink(socket.c_str()), 0);
  if (geteuid() != 0) return;

  // A socket of another user in its place.
  int planted = testing::unix_socket_at(socket, 8);
  ASSERT_EQ(chown(socket.c_str(), 65534, 65534), 0);
  expect_refused();
  close(planted);
  ASSERT_EQ(unlink(socket.c_str()), 0);

  // Ours by its file, but another user listens on it.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t listener = fork();
  if (listener == 0) {
    int fd = testing::unix_socket_at(socket, -1);
    bool ok = fd >= 0 && setgid(65534) == 0 && setuid(65534) == 0 && listen(fd, 8) == 0;
    char byte = ok ? 1 : 0;
    if (write(ready[1], &byte, 1) != 1 || !ok) _exit(1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 1);
  EXPECT_EQ(check_own_socket(socket), SocketCheck::kOwnSocket);
  expect_refused();
  kill(listener, SIGKILL);
  waitpid(listener, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
}

class MpvLinkScripted : public MpvLinkSocket {
 protected:
  std::string scored() { return link->current_song(dir()).path; }

  std::unique_ptr<ScriptedMpv> mpv = std::make_unique<ScriptedMpv>(socket);
};

TEST_F(MpvLinkScripted, TheSongIsTheEntryMpvIsAtWhateverItsNameAndStoppedItIsAtNone) {
  // A line break is part of the name, as mpv gives it.
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/two\nlines.wav"}, {"current", true}}}),
           false);
  EXPECT_EQ(scored(), "/m/two\nlines.wav");
  // Started with a song, mpv answers before it has picked the entry.
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}}}), false);
  EXPECT_EQ(scored(), "/m/first.wav");
  // Stopped, by the program or from mpv itself, it is at no song.
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}, {"current", true}}}), false);
  link->stop();
  EXPECT_EQ(link->current_song(dir()).kind, CurrentSong::Kind::kNoSong);
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}}}), true);
  EXPECT_EQ(scored(), "");
}

}  // namespace
}  // namespace jukora
