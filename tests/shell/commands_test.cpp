// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/commands.h"

#include <gmock/gmock.h>

#include <string>
#include <tuple>
#include <vector>

#include "shell/command_line.h"
#include "shell/intents.h"
#include "shell/remote/remote_command.h"

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
  void import_ratings(const std::string& source, bool dry_run, const CommandReply&) override {
    ran.push_back(std::string(dry_run ? "dry run " : "import ") + source);
  }
  std::vector<std::string> ran;
};

TEST(Commands, EachWordTravelsAsItsOwnLineAndRunsItsIntentAsDoesEachIcon) {
  RecordingIntents intents;
  for (const CommandEntry& entry : command_table()) {
    if (entry.word.empty()) continue;
    const std::string value = entry.argument.empty() ? "" : "/music/a b.xml";
    const QByteArray line = remote_line(CommandCall(entry.command, value));
    EXPECT_EQ(line.toStdString(), std::string(entry.word) + (value.empty() ? "" : " " + value) + "\n");
    run_command(*parse_remote_line(line), intents);
  }
  EXPECT_THAT(intents.ran, ElementsAre("increment by remote", "decrement by remote", "skip", "show", "undo",
                                       "import /music/a b.xml"));
  intents.ran.clear();
  for (int id = 1; id <= kTrayIconCount; ++id)
    run_command(CommandCall(command_of_icon(static_cast<TrayIconId>(id)).command, {}, false, ChangeSource::kTray),
                intents);
  EXPECT_THAT(intents.ran, ElementsAre("decrement by tray", "increment by tray", "skip", "toggle list", "mode menu"));
  intents.ran.clear();
  char program[] = "jukora", option[] = "--increment";
  char* argv[] = {program, option};
  run_command(*read_command_line(2, argv).command, intents);
  EXPECT_THAT(intents.ran, ElementsAre("increment by command line"));
}

TEST(Commands, TheImportTakesItsSourceAndItsSwitchFromTheCommandLineAndTheSocket) {
  const std::optional<CommandCall> call = parse_remote_line("import-ratings --dry-run /music/a b.xml\n");
  ASSERT_TRUE(call);
  EXPECT_EQ(call->command, Command::kImportRatings);
  EXPECT_EQ(call->argument, "/music/a b.xml");
  EXPECT_TRUE(call->option);
  EXPECT_EQ(remote_line(*call), "import-ratings --dry-run /music/a b.xml\n");
  EXPECT_FALSE(parse_remote_line("import-ratings mpd\n")->option);
  const std::string too_long = "import-ratings /" + std::string(kCommandValueLimit, 'x') + "\n";
  for (const std::string& line :
       {std::string("import-ratings\n"), std::string("import-ratings \n"), std::string("import-ratings --dry-run \n"),
        std::string("skip --dry-run\n"), std::string("skip \n"), too_long})
    EXPECT_FALSE(parse_remote_line(QByteArray::fromStdString(line))) << line;

  char program[] = "jukora", option[] = "--import-ratings", value[] = "/music/a b.xml", dry[] = "--dry-run";
  char* argv[] = {program, dry, option, value};
  const CommandLine read = read_command_line(4, argv);
  ASSERT_TRUE(read.command);
  EXPECT_EQ(read.command->command, Command::kImportRatings);
  EXPECT_EQ(read.command->argument, "/music/a b.xml");
  EXPECT_TRUE(read.command->option);
}

TEST(CommandsDeathTest, AValueTheSocketCannotCarryOrASwitchWithoutItsCommandIsRefused) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  char program[] = "jukora", import[] = "--import-ratings", dry[] = "--dry-run", skip[] = "--skip";
  char broken[] = "/music/a\nb.xml";
  std::string long_text(kCommandValueLimit + 1, 'x');
  for (auto [first, second, why] : {std::tuple{dry, skip, "--dry-run goes with --import-ratings"},
                                    {import, broken, "holds a line break"},
                                    {import, long_text.data(), "longer than"}}) {
    char* argv[] = {program, first, second};
    EXPECT_EXIT(read_command_line(3, argv), ::testing::ExitedWithCode(1), why);
  }
}

}  // namespace
}  // namespace jukora::testing
