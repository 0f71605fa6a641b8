// SPDX-License-Identifier: GPL-3.0-or-later
// Qt SQL loads its SQLite driver as a plugin, which needs an application
// object for the whole run.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
