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
