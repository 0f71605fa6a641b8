// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/start_command.h"

#include <algorithm>

#include "win32/local_text.h"

namespace jukora {

namespace {

struct WordEntry {
  RemoteWord word;
  std::string_view text;
  std::string_view help;
};

constexpr WordEntry kWords[] = {
    {RemoteWord::kIncrement, "increment", "raise the score of the song Winamp plays by one"},
    {RemoteWord::kDecrement, "decrement", "lower it by one"},
    {RemoteWord::kSkip, "skip", "stop the song so the play cycle moves on (or start Random / All)"},
    {RemoteWord::kShow, "show", "show the songlist window and bring it to the front"},
    {RemoteWord::kUndo, "undo", "take back the last change to the songlist"},
    {RemoteWord::kExit, "exit", "end the running Jukora as its Exit does"},
};

}  // namespace

std::optional<RemoteWord> remote_word(std::string_view word) {
  for (const WordEntry& entry : kWords)
    if (entry.text == word) return entry.word;
  return std::nullopt;
}

std::string_view word_text(RemoteWord word) {
  return std::find_if(std::begin(kWords), std::end(kWords), [word](const WordEntry& e) { return e.word == word; })
      ->text;
}

StartCommand read_start_command(std::span<const std::wstring> arguments) {
  StartCommand command;
  for (const std::wstring& argument : arguments) {
    const std::string text = local_shown(argument);
    if (text == "--help" || text == "-h" || text == "/?") return {StartCommand::Kind::kHelp, {}, {}};
    if (text == "--version") return {StartCommand::Kind::kVersion, {}, {}};
    const auto word = text.starts_with("--") ? remote_word(std::string_view(text).substr(2)) : std::nullopt;
    if (!word) return {StartCommand::Kind::kRefused, {}, "unknown option '" + text + "'"};
    if (command.word) return {StartCommand::Kind::kRefused, {}, "one command at a time"};
    command.word = word;
  }
  return command;
}

std::string help_text() {
  std::string text =
      "Usage: jukora [command]\n"
      "Jukora Song Manager keeps a songlist of scored songs and feeds Winamp.\n"
      "With a command, a running Jukora acts as if its tray icon had been clicked;\n"
      "when none runs, Jukora starts and then acts.\n\n";
  for (const WordEntry& entry : kWords) {
    std::string option = "  --" + std::string(entry.text);
    option.resize(16, ' ');
    text += option + std::string(entry.help) + "\n";
  }
  return text + "  --help        this text\n  --version     the version\n";
}

std::string version_text() { return "Jukora " JUKORA_VERSION "\n"; }

}  // namespace jukora
