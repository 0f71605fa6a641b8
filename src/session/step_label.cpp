// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/step_label.h"

#include <vector>

namespace jukora {

std::wstring elide_middle(std::wstring_view text, int chars) {
  // Where each character starts: a low surrogate continues the one before.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned>(text[i]) < 0xDC00 || static_cast<unsigned>(text[i]) > 0xDFFF) starts.push_back(i);
  if (chars < 1 || static_cast<int>(starts.size()) <= chars) return std::wstring(text);
  const std::size_t kept = static_cast<std::size_t>(chars) - 1, head = (kept + 1) / 2, tail = kept - head;
  std::wstring shown(text.substr(0, starts[head]));
  shown += L'\x2026';
  if (tail > 0) shown += text.substr(starts[starts.size() - tail]);
  return shown;
}

}  // namespace jukora
