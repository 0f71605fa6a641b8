// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/commands.h"

#include <gmock/gmock.h>

#include <string>
#include <tuple>
#include <vector>

#include "session/intents.h"
#include "shell/command_line.h"
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
    const QByteArray request = remote_request(CommandCall(entry.command, value));
    EXPECT_EQ(request.toStdString(), std::string(entry.word) + (value.empty() ? "\n" : " bytes=14\n" + value));
    const RemoteRequest parsed = parse_remote_request(request);
    ASSERT_EQ(parsed.size, request.size());
    run_command(*parsed.call, intents);
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

TEST(Commands, TheImportTakesItsSourceWhateverItsBytesAndItsSwitchFromTheCommandLineAndTheSocket) {
  using State = RemoteRequest::State;
  // Not text in any encoding: a Latin-1 folder, a line break, a tab.
  const std::string bytes = "/music/caf\xe9/a\nb\t.xml";
  const QByteArray framed = remote_request(CommandCall(Command::kImportRatings, bytes, true));
  EXPECT_EQ(framed.toStdString(), "import-ratings --dry-run bytes=20\n" + bytes);
  // What came in so far, and the request it holds.
  const std::tuple<QByteArray, State, std::string, bool> cases[] = {
      {framed, State::kComplete, bytes, true},
      {framed + "more", State::kComplete, bytes, true},
      {framed.chopped(1), State::kIncomplete, "", false},
      {"import-ratin", State::kIncomplete, "", false},
      // The one line of earlier versions.
      {"import-ratings --dry-run /music/a b.xml\n", State::kComplete, "/music/a b.xml", true},
      {"import-ratings mpd\n", State::kComplete, "mpd", false},
      {"import-ratings bytes=3\nmpd", State::kComplete, "mpd", false},
      {"import-ratings\n", State::kInvalid, "", false},
      {"import-ratings \n", State::kInvalid, "", false},
      {"import-ratings --dry-run \n", State::kInvalid, "", false},
      {"import-ratings bytes=0\n", State::kInvalid, "", false},
      {"import-ratings bytes=4097\n" + QByteArray(4097, 'x'), State::kInvalid, "", false},
      {"import-ratings /" + QByteArray(kCommandValueLimit, 'x') + "\n", State::kInvalid, "", false},
      {"skip bytes=3\nabc", State::kInvalid, "", false},
      {"skip --dry-run\n", State::kInvalid, "", false},
      {"skip \n", State::kInvalid, "", false},
      {"skip activation=\n", State::kInvalid, "", false},
      {"skip activation=a b\n", State::kInvalid, "", false},
      {"skip token=abc\n", State::kInvalid, "", false},
      {QByteArray(kRemoteLineLimit + 1, 'x'), State::kInvalid, "", false},
  };
  for (const auto& [received, state, value, dry_run] : cases) {
    SCOPED_TRACE(received.left(40).toStdString());
    const RemoteRequest request = parse_remote_request(received);
    ASSERT_EQ(request.state, state);
    if (state != State::kComplete) continue;
    EXPECT_EQ(request.call->command, Command::kImportRatings);
    EXPECT_EQ(request.call->argument, value);
    EXPECT_EQ(request.call->option, dry_run);
  }

  // A show carries the desktop's activation token, so that the running
  // copy may come to the front.
  CommandCall show(Command::kShow);
  show.activation_token = "kwin-12_3:4";
  const QByteArray with_token = remote_request(show);
  EXPECT_EQ(with_token, "show activation=kwin-12_3:4\n");
  const RemoteRequest shown = parse_remote_request(with_token);
  ASSERT_EQ(shown.state, State::kComplete);
  EXPECT_EQ(shown.call->command, Command::kShow);
  EXPECT_EQ(shown.call->activation_token, "kwin-12_3:4");
  show.activation_token = "not a token";
  EXPECT_EQ(remote_request(show), "show\n");

  // The command line hands the bytes over as they were given.
  char program[] = "jukora", option[] = "--import-ratings", dry[] = "--dry-run";
  std::string value = bytes;
  char* argv[] = {program, dry, option, value.data()};
  const CommandLine read = read_command_line(4, argv);
  ASSERT_TRUE(read.command);
  EXPECT_EQ(read.command->command, Command::kImportRatings);
  EXPECT_EQ(read.command->argument, bytes);
  EXPECT_TRUE(read.command->option);
}

TEST(CommandsDeathTest, AValueTooLongForTheSocketOrASwitchWithoutItsCommandIsRefused) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  char program[] = "jukora", import[] = "--import-ratings", dry[] = "--dry-run", skip[] = "--skip";
  std::string long_text(kCommandValueLimit + 1, 'x');
  for (auto [first, second, why] :
       {std::tuple{dry, skip, "--dry-run goes with --import-ratings"}, {import, long_text.data(), "longer than"}}) {
    char* argv[] = {program, first, second};
    EXPECT_EXIT(read_command_line(3, argv), ::testing::ExitedWithCode(1), why);
  }
}

}  // namespace
}  // namespace jukora::testing
