// Main of the test programs that use Qt. The application object comes
// first, as in a host, so its setlocale(LC_ALL, "") from the environment
// has happened before any test converts a value.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs the program at build time, where there is no display.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Never destroyed: Qt's own teardown at process exit does not survive an
  // application object that is destroyed among the other statics.
  static int app_argc = argc;
  static QApplication* app = new QApplication(app_argc, argv);
  (void)app;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
