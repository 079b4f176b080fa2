// One QApplication for the whole test program, made on first use and never destroyed,
// so that no static of Qt's outlives it.
#pragma once

#include <QApplication>

namespace kelvara::platform::testing {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "platform_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace kelvara::platform::testing
