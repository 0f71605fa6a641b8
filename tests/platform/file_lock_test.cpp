// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_stamp.h"
#include "support/fakes.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;

TEST(FileLock, OneHolderAtATimeAndNoLockFileLeftBehind) {
  testing::TempDir temp;
  const std::string list = temp.file("list.jk8");
  {
    FileLock first(list, 0ms);
    ASSERT_EQ(first.state(), FileLock::State::kHeld);
    EXPECT_TRUE(std::filesystem::exists(list + ".lock"));
    FileLock second(list, 30ms);
    EXPECT_EQ(second.state(), FileLock::State::kBusy);
  }
  EXPECT_FALSE(std::filesystem::exists(list + ".lock"));
  EXPECT_EQ(FileLock(list, 0ms).state(), FileLock::State::kHeld);
  EXPECT_EQ(FileLock(temp.file("no/such/folder/list.jk8"), 0ms).state(), FileLock::State::kUnavailable);
}

TEST(ContentHash, TheSameBytesHashAlikeHoweverTheyAreCut) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<char>((i * 7919) % 251));
  const std::uint64_t whole = content_hash(bytes);
  for (std::size_t piece : {1u, 7u, 31u, 32u, 33u, 500u}) {
    ContentHash hash;
    for (std::size_t at = 0; at < bytes.size(); at += piece) hash.add(std::string_view(bytes).substr(at, piece));
    EXPECT_EQ(hash.value(), whole) << piece;
  }
  for (std::size_t at : {0u, 31u, 999u}) {
    std::string changed = bytes;
    changed[at] ^= 1;
    EXPECT_NE(content_hash(changed), whole) << at;
  }
  EXPECT_NE(content_hash(bytes.substr(0, 999)), whole);
}

}  // namespace
}  // namespace jukora
