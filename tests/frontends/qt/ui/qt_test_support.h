// The Qt helpers as the desk tests include them, with the application
// object for a program whose main does not make one.
#pragma once

#include "tests/frontends/qt/qt_test_support.h"

namespace kvt::qt::testing {

// The one QApplication of the test program. Never destroyed: Qt's own
// teardown at process exit does not survive an application object that is
// destroyed among the other statics.
inline QApplication& App() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "qt_ui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace kvt::qt::testing
