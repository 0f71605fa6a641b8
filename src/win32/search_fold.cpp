// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/search_fold.h"

#include <windows.h>

#include "win32/local_text.h"

namespace jukora {

namespace {

bool is_mark(wchar_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
         (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

std::wstring mapped(const std::wstring& text, DWORD flags) {
  const int size = static_cast<int>(text.size());
  const int needed = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.data(), size, nullptr, 0, nullptr, nullptr, 0);
  if (needed <= 0) return text;
  std::wstring out(static_cast<std::size_t>(needed), L'\0');
  LCMapStringEx(LOCALE_NAME_INVARIANT, flags, text.data(), size, out.data(), needed, nullptr, nullptr, 0);
  return out;
}

}  // namespace

std::string fold_for_search(std::string_view local) {
  std::wstring text = wide(local);
  // Compatibility forms (ligatures, full-width letters) as their letters, and
  // every accented letter as its letter and its marks.
  const int size = static_cast<int>(text.size());
  const int needed = FoldStringW(MAP_FOLDCZONE | MAP_COMPOSITE, text.data(), size, nullptr, 0);
  if (needed > 0) {
    std::wstring split(static_cast<std::size_t>(needed), L'\0');
    FoldStringW(MAP_FOLDCZONE | MAP_COMPOSITE, text.data(), size, split.data(), needed);
    text.clear();
    for (wchar_t c : split)
      if (!is_mark(c)) text += c;
  }
  text = mapped(text, LCMAP_LOWERCASE);
  // UTF-8, so that text of ASCII letters alone folds to itself lowered, as the
  // search lowers such text without asking.
  const int length = static_cast<int>(text.size());
  std::string out(
      static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

}  // namespace jukora
