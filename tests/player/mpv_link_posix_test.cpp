// MpvLink against a scripted mpv on its socket, for the moments a real mpv
// only shows now and then: a player that is busy but at no entry yet.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "support/fakes.h"
#include "player/mpv_link.h"

namespace jukora {
namespace {

using nlohmann::json;
using testing::read_bytes;
using testing::TempDir;

// Answers get_property for "playlist" and "idle-active" from its fields;
// "stop" leaves the playlist in place at no entry, as mpv does.
class ScriptedMpv {
 public:
  explicit ScriptedMpv(const std::string& socket_path) {
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket_path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(listener_, 8), 0);
    server_ = std::thread([this] { serve(); });
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

 private:
  void serve() {
    for (int client; (client = accept(listener_, nullptr, nullptr)) >= 0; close(client)) {
      std::string input;
      char buffer[4096];
      for (ssize_t n; (n = read(client, buffer, sizeof buffer)) > 0;) {
        input.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1)) {
          std::string reply = answer(json::parse(input.substr(0, end))).dump() + "\n";
          EXPECT_EQ(write(client, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
        }
      }
    }
  }

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

class MpvLinkScripted : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(temp.file("run"));
    chmod(temp.file("run").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", temp.file("run").c_str(), 1);
    link = std::make_unique<MpvLink>(AppFolders{temp.file("data")});
    mpv = std::make_unique<ScriptedMpv>(link->socket_path());
  }

  long scored_position() { return link->write_playlist(link->find_winamp()); }
  std::string playlist_text() { return read_bytes(link->playlist_path({})); }

  TempDir temp;
  std::unique_ptr<MpvLink> link;
  std::unique_ptr<ScriptedMpv> mpv;
};

TEST_F(MpvLinkScripted, AStartingPlayerIsAtItsFirstEntryAndAStopThereKeepsIt) {
  // Started with a song, mpv answers before it has picked the entry.
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}}}), false);
  EXPECT_EQ(scored_position(), 0);
  EXPECT_EQ(playlist_text(), "/m/first.wav\r\n/m/second.wav\r\n");

  link->stop(link->find_winamp());
  EXPECT_EQ(scored_position(), 0) << "the song stopped while loading can still be scored";
}

TEST_F(MpvLinkScripted, AFileNameWithALineBreakNamesNoSong) {
  // The break would split the entry in two in the playlist file, and the
  // lookup would name the wrong song or half a name.
  const json broken = {{"filename", "/m/two\nlines.wav"}};
  mpv->set(json::array({broken, {{"filename", "/m/after.wav"}, {"current", true}}}), false);
  EXPECT_EQ(scored_position(), -1);
  mpv->set(json::array({{{"filename", "/m/first.wav"}, {"current", true}}, broken}), false);
  EXPECT_EQ(scored_position(), 0) << "a break after the position shifts nothing";
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/two\nlines.wav"}, {"current", true}}}),
           false);
  EXPECT_EQ(scored_position(), -1);
}

TEST_F(MpvLinkScripted, AnIdlePlayerAtNoEntryHasNoSong) {
  // Stopped from mpv itself: there is no telling which song it was.
  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}}}), true);
  EXPECT_EQ(scored_position(), -1);

  mpv->set(json::array({{{"filename", "/m/first.wav"}}, {{"filename", "/m/second.wav"}, {"current", true}}}), false);
  link->stop(link->find_winamp());
  EXPECT_EQ(scored_position(), 1);
  mpv->set(json::array({{{"filename", "/m/other.wav"}}, {{"filename", "/m/second.wav"}}}), true);
  EXPECT_EQ(scored_position(), 1) << "the stopped entry is still there";
  mpv->set(json::array({{{"filename", "/m/other.wav"}}, {{"filename", "/m/new.wav"}}}), true);
  EXPECT_EQ(scored_position(), -1) << "a new playlist does not inherit the stopped position";
}

}  // namespace
}  // namespace jukora
