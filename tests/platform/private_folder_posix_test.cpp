// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/private_folder.h"
#include "support/players_posix.h"

namespace jukora {
namespace {

TEST(PrivateFolder, IsMadeOrAcceptedOnlyWhenNobodyElseCanEnter) {
  testing::TempDir temp;
  std::string fresh = temp.file("fresh"), open = temp.file("open"), link = temp.file("link");
  ASSERT_TRUE(make_private_folder(fresh));
  struct stat info {};
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(make_private_folder(fresh)) << "found again in the next run";

  mkdir(open.c_str(), 0700);
  chmod(open.c_str(), 0777);
  EXPECT_FALSE(make_private_folder(open));
  ASSERT_EQ(symlink(fresh.c_str(), link.c_str()), 0);
  EXPECT_FALSE(make_private_folder(link));
}

TEST(PrivateFolder, AFolderRefusedIsToldOnceNamingWhereTheSocketsWent) {
  testing::TempDir temp;
  const std::string runtime = temp.file("runtime"), planted = temp.file("planted");
  mkdir(runtime.c_str(), 0700);
  mkdir(planted.c_str(), 0700);
  ASSERT_EQ(symlink(planted.c_str(), (runtime + "/jukora").c_str()), 0);
  const char* was = std::getenv("XDG_RUNTIME_DIR");
  const std::string kept = was ? was : "";
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  std::vector<std::string> told;
  const auto tell = [&](const std::string& text) { told.push_back(text); };
  const std::string used = private_socket_folder(temp.file("data"), 16, tell);
  EXPECT_EQ(private_socket_folder(temp.file("data"), 16, tell), used);
  if (was)
    setenv("XDG_RUNTIME_DIR", kept.c_str(), 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(runtime + "/jukora is refused"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("using " + used + " instead"), std::string::npos) << told[0];
}

TEST(PrivateFolder, OnlyOwnSocketsAreTrusted) {
  testing::TempDir temp;
  const std::string socket_path = temp.file("s"), planted_link = temp.file("link"), file = temp.file("file");
  int fd = testing::unix_socket_at(socket_path, -1);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(symlink(socket_path.c_str(), planted_link.c_str()), 0);
  testing::write_bytes(file, "");

  EXPECT_EQ(check_own_socket(socket_path), SocketCheck::kOwnSocket);
  EXPECT_EQ(check_own_socket(planted_link), SocketCheck::kForeign) << "a link to a socket is not ours";
  EXPECT_EQ(check_own_socket(file), SocketCheck::kForeign);
  EXPECT_EQ(check_own_socket(temp.file("none")), SocketCheck::kMissing);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(socket_path.c_str(), 65534, 65534), 0);
    EXPECT_EQ(check_own_socket(socket_path), SocketCheck::kForeign) << "another user's socket";
  }
  close(fd);

  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  EXPECT_TRUE(peer_is_this_user(pair[0]));
  close(pair[0]);
  close(pair[1]);
}

}  // namespace
}  // namespace jukora
