// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/single_instance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace jukora {
namespace {

TEST(StartCommand, OnlyTheKnownWordsOneAtATime) {
  struct Case {
    std::vector<std::wstring> words;
    StartCommand::Kind kind;
    std::optional<RemoteWord> word;
  };
  using K = StartCommand::Kind;
  const Case cases[] = {
      {{}, K::kRun, std::nullopt},
      {{L"--increment"}, K::kRun, RemoteWord::kIncrement},
      {{L"--decrement"}, K::kRun, RemoteWord::kDecrement},
      {{L"--skip"}, K::kRun, RemoteWord::kSkip},
      {{L"--show"}, K::kRun, RemoteWord::kShow},
      {{L"--undo"}, K::kRun, RemoteWord::kUndo},
      {{L"--exit"}, K::kRun, RemoteWord::kExit},
      {{L"--help"}, K::kHelp, std::nullopt},
      {{L"--version"}, K::kVersion, std::nullopt},
      {{L"--increment", L"--skip"}, K::kRefused, std::nullopt},
      {{L"increment"}, K::kRefused, std::nullopt},
      {{L"--INCREMENT"}, K::kRefused, std::nullopt},
      {{L"--import-ratings"}, K::kRefused, std::nullopt},
  };
  for (const Case& c : cases) {
    const StartCommand command = read_start_command(c.words);
    EXPECT_EQ(command.kind, c.kind);
    EXPECT_EQ(command.word, c.word);
  }
  EXPECT_NE(help_text().find("--increment"), std::string::npos);
  EXPECT_EQ(version_text(), "Jukora " JUKORA_VERSION "\n");
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  // The name of this test run, so that a Jukora running on the machine is not asked.
  const std::wstring name = instance_pipe_name() + L"-test-" + std::to_wstring(GetCurrentProcessId());

  std::vector<RemoteWord> heard() {
    std::lock_guard lock(mutex);
    return words;
  }
  void deliver(RemoteWord word) {
    std::lock_guard lock(mutex);
    words.push_back(word);
  }
  // The server takes the word after its answer: polled with a deadline.
  bool heard_within(std::size_t count) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (heard().size() < count && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return heard().size() == count;
  }

  std::mutex mutex;
  std::vector<RemoteWord> words;
};

TEST_F(SingleInstanceTest, TheNameCarriesTheUsersSidAndTheSession) {
  const std::wstring pipe = instance_pipe_name();
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  EXPECT_EQ(pipe.rfind(L"\\\\.\\pipe\\Jukora-S-1-5-", 0), 0u);
  EXPECT_TRUE(pipe.ends_with(L"-" + std::to_wstring(session)));
}

TEST_F(SingleInstanceTest, TheFirstCopyHoldsTheNameAndHearsTheKnownWordsOnly) {
  EXPECT_EQ(forward_word(name, "increment"), Forwarded::kNoneRunning);
  InstanceServer server;
  ASSERT_TRUE(server.claim(name));
  InstanceServer second;
  EXPECT_FALSE(second.claim(name));
  server.serve([this](RemoteWord word) { deliver(word); });

  EXPECT_EQ(forward_word(name, "increment"), Forwarded::kDone);
  EXPECT_EQ(forward_word(name, "show"), Forwarded::kDone);
  ASSERT_TRUE(heard_within(2));
  for (const char* word : {"bogus", "increment extra", "", "INCREMENT", "import-ratings"})
    EXPECT_EQ(forward_word(name, word), Forwarded::kRefused) << word;
  // A line longer than any word is not even read to its end.
  EXPECT_NE(forward_word(name, std::string(200, 'x')), Forwarded::kDone);
  EXPECT_EQ(forward_word(name, "undo"), Forwarded::kDone);
  ASSERT_TRUE(heard_within(3));
  EXPECT_EQ(heard(), (std::vector{RemoteWord::kIncrement, RemoteWord::kShow, RemoteWord::kUndo}));
}

}  // namespace
}  // namespace jukora
