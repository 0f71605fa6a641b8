// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

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
