// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_reach.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "support/fakes.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;

TEST(FileReach, TellsAFileFromNothingAndFromAFolder) {
  // The look itself; its deadline is tried below with looks that hang.
  testing::TempDir temp;
  testing::write_bytes(temp.file("a.mp3"), "");
  EXPECT_EQ(look_at_file(temp.file("a.mp3")), FileReach::kThere);
  EXPECT_EQ(look_at_file(temp.file("b.mp3")), FileReach::kMissing);
  EXPECT_EQ(look_at_file(temp.file("a.mp3") + "/c.mp3"), FileReach::kMissing);
  EXPECT_EQ(look_at_file(temp.path().string()), FileReach::kMissing);
}

TEST(FileReach, ALookThatHangsRunsOutAndHungLooksNeverPileUp) {
  // Looks that hang like a stat on a dead mount, until released.
  auto released = std::make_shared<std::atomic<bool>>(false);
  auto hanging = [released](const std::string&) {
    while (!*released) std::this_thread::sleep_for(1ms);
    return FileReach::kThere;
  };
  auto quick = [](const std::string&) { return FileReach::kThere; };
  for (int i = 0; i < 4; ++i) EXPECT_EQ(reach_file("/hung", 20ms, hanging), FileReach::kNoAnswer) << i;
  EXPECT_EQ(reach_file("/fine", 5s, quick), FileReach::kNoAnswer) << "no fifth stuck thread";
  *released = true;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (reach_file("/fine", 5s, quick) != FileReach::kThere) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    std::this_thread::sleep_for(1ms);
  }
}

}  // namespace
}  // namespace jukora
