// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/hours_box.h"

#include <gtest/gtest.h>

#include <string>

namespace jukora {
namespace {

TEST(HoursBox, OnlyDigitsAreTypedAndBackspaceIsNot) {
  for (wchar_t c = L'0'; c <= L'9'; ++c) EXPECT_TRUE(hours_char_passes(c));
  for (wchar_t c : {L'x', L' ', L'-', L'+', L'.', L'\x7f', L'\b', L'\x0660', L'\xff11'})
    EXPECT_FALSE(hours_char_passes(c)) << static_cast<int>(c);
  // The box's own shortcuts: Ctrl+A, C, V, X, Z.
  for (wchar_t c : {L'\x01', L'\x03', L'\x16', L'\x18', L'\x1a'}) EXPECT_TRUE(hours_char_passes(c));
}

TEST(HoursBox, PastedTextKeepsItsDigitsAndTheCaretFollows) {
  DWORD caret = 5;
  EXPECT_EQ(hours_digits(L"1a2b3", caret), L"123");
  EXPECT_EQ(caret, 3u);
  caret = 1;
  EXPECT_EQ(hours_digits(L"12 h", caret), L"12");
  EXPECT_EQ(caret, 1u);
}

TEST(HoursBox, TypingOneXTwoGivesTwelveAndBackspaceChangesNothing) {
  HWND box = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(box);
  filter_hours_box(box);
  for (wchar_t c : {L'1', L'x', L'2', L'\b'}) SendMessageW(box, WM_CHAR, c, 0);
  wchar_t text[16] = {};
  GetWindowTextW(box, text, 16);
  EXPECT_STREQ(text, L"12");
  DestroyWindow(box);
}

}  // namespace
}  // namespace jukora
