// SPDX-License-Identifier: GPL-3.0-or-later
// Permission bits do not stop root. A check of how unreadable files are
// handled runs here in a forked child that has given up root; as an
// ordinary user it simply runs in place.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace jukora::testing {

// Runs `check` as an ordinary user and expects it to answer true. `folder`
// (the test's temporary tree) is opened to everyone first so the child can
// reach it.
#define EXPECT_TRUE_WITHOUT_ROOT(folder, check)                                                                        \
  do {                                                                                                                 \
    if (geteuid() != 0) {                                                                                              \
      EXPECT_TRUE(check());                                                                                            \
      break;                                                                                                           \
    }                                                                                                                  \
    std::filesystem::permissions(folder, std::filesystem::perms::all);                                                 \
    GTEST_FLAG_SET(death_test_style, "fast");                                                                          \
    EXPECT_EXIT(std::_Exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1), ::testing::ExitedWithCode(0), \
                "");                                                                                                   \
  } while (false)

}  // namespace jukora::testing
