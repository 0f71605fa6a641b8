// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/command_line.h"

namespace jukora {

std::optional<std::vector<std::string>> split_command(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    char c = command[i];
    if (quote == '\'') {
      if (c == '\'')
        quote = 0;
      else
        word.push_back(c);
      continue;
    }
    if (c == '\\' && i + 1 < command.size() && (quote == 0 || command[i + 1] == '"' || command[i + 1] == '\\')) {
      word.push_back(command[++i]);
      in_word = true;
      continue;
    }
    if (quote == '"') {
      if (c == '"')
        quote = 0;
      else
        word.push_back(c);
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    if (c == '"' || c == '\'')
      quote = c;
    else
      word.push_back(c);
    in_word = true;
  }
  if (quote != 0) return std::nullopt;
  if (in_word) words.push_back(std::move(word));
  return words;
}

}  // namespace jukora
