// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace jukora {
namespace {

TEST(CommandLine, ACommandIsSplitOnceAndNothingInItIsExpanded) {
  using Words = std::vector<std::string>;
  const std::vector<std::pair<std::string, std::optional<Words>>> commands = {
      {"audacious", Words{"audacious"}},
      {"  vlc\t --one-instance ", Words{"vlc", "--one-instance"}},
      {"'/opt/my player/run' -x", Words{"/opt/my player/run", "-x"}},
      {"\"a b\"c 'it''s' a\\ b", Words{"a bc", "its", "a b"}},
      {"\"say \\\"hi\\\" \\\\ \\n\"", Words{"say \"hi\" \\ \\n"}},
      {"$(touch x) `id` ~ * $HOME", Words{"$(touch", "x)", "`id`", "~", "*", "$HOME"}},
      {"", Words{}},
      {"'open", std::nullopt},
      {"\"open", std::nullopt},
  };
  for (const auto& [command, words] : commands) EXPECT_EQ(split_command(command), words) << command;
}

}  // namespace
}  // namespace jukora
