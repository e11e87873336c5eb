// Runs a check once a modal window is up, from inside its event loop.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

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

// Calls `act` with the active modal widget as soon as there is one.
inline void WhenModal(std::function<void(QWidget*)> act, int tries = 200) {
  QTimer::singleShot(10, [act = std::move(act), tries] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      act(modal);
    } else if (tries > 0) {
      WhenModal(act, tries - 1);
    }
  });
}

}  // namespace kvt::qt::testing
