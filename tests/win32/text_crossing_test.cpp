// SPDX-License-Identifier: GPL-3.0-or-later
// Text between the program's code page and the system's wide calls: file
// dialogs, drops, the search's fold.

#include <gtest/gtest.h>
#include <windows.h>

#include "win32/local_text.h"
#include "win32/search_fold.h"
#include "win32/win32_desktop.h"

namespace jukora {
namespace {

TEST(TextCrossing, NamesTheCodePageCannotSpellAreLeftOutAndCounted) {
  // Cyrillic has no spelling in the Western code page wine starts with.
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  const LocalPaths paths = local_paths({L"C:\\Music\\Bj\xf6rk.mp3", L"C:\\Music\\\x0416.mp3", L"D:\\x\\\x0414.mp3"});
  EXPECT_EQ(paths.paths, std::vector<std::string>{"C:\\Music\\Bj\xf6rk.mp3"});
  ASSERT_EQ(paths.left_out.size(), 2u);
  EXPECT_EQ(left_out_message({L"C:\\a\\x.mp3"}),
            "1 file was left out: its name cannot be written in this system's code page (x.mp3).");
  EXPECT_EQ(left_out_message({L"a.mp3", L"C:\\b.mp3", L"c.mp3", L"d.mp3", L"e.mp3"}),
            "5 files were left out: their names cannot be written in this system's code page (a.mp3, b.mp3, c.mp3, "
            "...).");
}

TEST(TextCrossing, MessagesCarryNamesInTheCodePageAndPunctuationInUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  EXPECT_EQ(wide_message("Bj\xf6rk \xe2\x80\x94 score 6"), L"Bj\xf6rk \x2014 score 6");
  EXPECT_EQ(wide_message("Add Files\xe2\x80\xa6 \xe2\x96\xb8 x"), L"Add Files\x2026 \x25b8 x");
  // Bytes that are no whole sequence are letters of the code page.
  EXPECT_EQ(wide_message("\xe2"
                         "A \xe2\x80"),
            L"\xe2"
            L"A \xe2\x20ac");
}

TEST(TextCrossing, FileDialogFiltersAndResults) {
  EXPECT_EQ(dialog_filter("Jukora Files (*.jk8)|*.jk8|All Files (*.*)|*.*"),
            std::wstring(L"Jukora Files (*.jk8)\0*.jk8\0All Files (*.*)\0*.*\0\0", 48));
  EXPECT_EQ(chosen_paths(std::wstring(L"C:\\Music\\a.mp3\0", 15)), std::vector<std::wstring>{L"C:\\Music\\a.mp3"});
  EXPECT_EQ(chosen_paths(std::wstring(L"C:\\Music\0a.mp3\0b.wav\0\0", 22)),
            (std::vector<std::wstring>{L"C:\\Music\\a.mp3", L"C:\\Music\\b.wav"}));
  EXPECT_EQ(chosen_paths(std::wstring(L"C:\\\0a.mp3\0b.wav\0\0", 17)),
            (std::vector<std::wstring>{L"C:\\a.mp3", L"C:\\b.wav"}));
  EXPECT_TRUE(chosen_paths(std::wstring(L"\0\0", 2)).empty());
}

TEST(TextCrossing, TheSearchFoldsCaseAndAccents) {
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  const std::pair<const char*, const char*> folds[] = {{"Bj\xf6rk", "bjork"},
                                                       {"\xc9T\xc9", "ete"},
                                                       {"ABC def", "abc def"},
                                                       {"Stra\xdf"
                                                        "e",
                                                        "stra\xc3\x9f"
                                                        "e"}};
  for (const auto& [text, folded] : folds) EXPECT_EQ(fold_for_search(text), folded) << text;
}

}  // namespace
}  // namespace jukora
