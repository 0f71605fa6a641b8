// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "player/mpv/mpv_ipc.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;

// A connected pair: the session on one end, a scripted mpv on the other.
struct Pair {
  Pair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0); }
  ~Pair() {
    if (fds[1] >= 0) close(fds[1]);
  }
  std::string read_line() {
    std::string line;
    char c;
    while (read(fds[1], &c, 1) == 1 && c != '\n') line.push_back(c);
    return line;
  }
  void write_text(const std::string& text) { ASSERT_EQ(write(fds[1], text.data(), text.size()), ssize_t(text.size())); }
  int fds[2] = {-1, -1};
};

TEST(MpvSession, MatchesRepliesAndSkipsEverythingElse) {
  Pair pair;
  MpvSession session(pair.fds[0], 2000ms);
  std::thread player([&] {
    EXPECT_EQ(pair.read_line(), "{\"command\":[\"get_property\",\"playlist\"],\"request_id\":1}");
    EXPECT_EQ(pair.read_line(), "{\"command\":[\"loadfile\",\"/m/caf\xE9 \\\"x\\\".mp3\"],\"request_id\":2}");
    pair.write_text(
        "{\"event\":\"idle\"}\n"
        "not json at all\n"
        "{\"request_id\":7,\"error\":\"success\",\"data\":1}\n"
        "{\"request_id\":2,\"error\":\"invalid parameter\"}\n"
        "{\"data\":[{\"filename\":\"/m/caf\xE9.mp3\",\"current\":true}],\"request_id\":1,");
    pair.write_text("\"error\":\"success\"}\n");
  });
  auto replies = session.ask_all({{"get_property", "playlist"}, {"loadfile", "/m/caf\xE9 \"x\".mp3"}});
  player.join();
  ASSERT_EQ(replies.size(), 2u);
  ASSERT_TRUE(replies[0].ok);
  EXPECT_EQ(replies[0].data[0]["filename"], "/m/caf\xE9.mp3");
  EXPECT_FALSE(replies[1].ok);
}

TEST(MpvSession, GivesUpOnSilenceAndOnAClosedPlayer) {
  Pair pair;
  MpvSession session(pair.fds[0], 100ms);
  EXPECT_FALSE(session.ask({"get_property", "pause"}).ok);
  close(pair.fds[1]);
  pair.fds[1] = -1;
  // Writing to a closed peer must not raise SIGPIPE.
  EXPECT_FALSE(session.ask({"get_property", "pause"}).ok);
  EXPECT_FALSE(MpvSession::connect("/nonexistent/jukora/mpv-socket"));
}

}  // namespace
}  // namespace jukora
