// SPDX-License-Identifier: GPL-3.0-or-later
// What jukora.exe was started to do: run, or hand one word to the copy that
// runs already (--increment, --decrement, --skip, --show, --undo, --exit;
// none means show), or answer --help or --version. The same words, and only
// those, travel over the single-instance pipe.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace jukora {

enum class RemoteWord { kIncrement, kDecrement, kSkip, kShow, kUndo, kExit };

// The word as it travels ("increment"); nothing for any other text.
std::optional<RemoteWord> remote_word(std::string_view word);
std::string_view word_text(RemoteWord word);

struct StartCommand {
  enum class Kind { kRun, kHelp, kVersion, kRefused };
  Kind kind = Kind::kRun;
  // The word to act on; none for a plain start.
  std::optional<RemoteWord> word;
  // Why the command line was refused.
  std::string refusal;
};

// `arguments` without the program's own name.
StartCommand read_start_command(std::span<const std::wstring> arguments);

std::string help_text();
std::string version_text();

}  // namespace jukora
