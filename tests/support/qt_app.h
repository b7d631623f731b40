// The one QApplication of a test program, made on first use, on the platform
// the environment names (offscreen under ctest).
#pragma once

#include <QApplication>

namespace testing_support {

inline QApplication& qt_application() {
  static int argc = 1;
  static char name[] = "tavrine_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace testing_support
