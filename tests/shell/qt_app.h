// The one QApplication the shell tests share (offscreen platform).
#pragma once

#include <QApplication>

namespace jukora::testing {

inline QApplication& qt_app() {
  static int argc = 1;
  static char name[] = "shell_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = qobject_cast<QApplication*>(QApplication::instance());
  if (!app) app = new QApplication(argc, argv);
  return *app;
}

}  // namespace jukora::testing
