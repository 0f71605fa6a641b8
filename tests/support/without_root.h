// SPDX-License-Identifier: GPL-3.0-or-later
// Permission bits do not stop root: checks of unreadable files run as an
// ordinary user, in a forked child when the tests run as root.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace jukora::testing {

// Expects `check` to answer true; `folder` is opened to everyone for the child.
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
