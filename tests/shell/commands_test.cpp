// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/commands.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/intents.h"
#include "shell/remote_command.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;

const char* source_name(ChangeSource source) {
  return source == ChangeSource::kTray ? "tray" : source == ChangeSource::kRemote ? "remote" : "command line";
}

struct RecordingIntents : Intents {
  void increment(ChangeSource source) override { ran.push_back(std::string("increment by ") + source_name(source)); }
  void decrement(ChangeSource source) override { ran.push_back(std::string("decrement by ") + source_name(source)); }
  void skip() override { ran.push_back("skip"); }
  void show() override { ran.push_back("show"); }
  void toggle_list() override { ran.push_back("toggle list"); }
  void open_mode_menu() override { ran.push_back("mode menu"); }
  void undo() override { ran.push_back("undo"); }
  std::vector<std::string> ran;
};

TEST(Commands, EachWordTravelsAsItsOwnLineAndRunsItsIntentAsDoesEachIcon) {
  RecordingIntents intents;
  for (const CommandEntry& entry : command_table()) {
    if (entry.word.empty()) continue;
    const QByteArray line = remote_line(entry.command);
    EXPECT_EQ(line.toStdString(), std::string(entry.word) + "\n");
    run_command(*parse_remote_line(line), intents);
  }
  EXPECT_THAT(intents.ran, ElementsAre("increment by remote", "decrement by remote", "skip", "show", "undo"));
  intents.ran.clear();
  for (int id = 1; id <= kTrayIconCount; ++id)
    run_command({command_of_icon(static_cast<TrayIconId>(id)).command, {}, ChangeSource::kTray}, intents);
  EXPECT_THAT(intents.ran, ElementsAre("decrement by tray", "increment by tray", "skip", "toggle list", "mode menu"));
  intents.ran.clear();
  char program[] = "jukora", option[] = "--increment";
  char* argv[] = {program, option};
  run_command(*read_command_line(2, argv).command, intents);
  EXPECT_THAT(intents.ran, ElementsAre("increment by command line"));
}

TEST(Commands, ACommandThatTakesAValueGetsItFromTheCommandLineAndTheSocket) {
  const CommandEntry commands[] = {
      {Command::kSkip, "skip", "", "Skip.", std::nullopt, nullptr, nullptr},
      {Command::kShow, "import", "PATH", "Import.", std::nullopt, nullptr, nullptr},
  };
  const std::optional<CommandCall> call = parse_remote_line("import /music/a b.xml\n", commands);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->command, Command::kShow);
  EXPECT_EQ(call->argument, "/music/a b.xml");
  EXPECT_EQ(remote_line(*call, commands), "import /music/a b.xml\n");
  for (const char* line : {"import\n", "import \n", "skip now\n", "skip \n"})
    EXPECT_FALSE(parse_remote_line(line, commands)) << line;

  char program[] = "jukora", option[] = "--import", value[] = "/music/a b.xml";
  char* argv[] = {program, option, value};
  const CommandLine read = read_command_line(3, argv, commands);
  ASSERT_TRUE(read.command);
  EXPECT_EQ(read.command->command, Command::kShow);
  EXPECT_EQ(read.command->argument, "/music/a b.xml");
}

}  // namespace
}  // namespace jukora::testing
