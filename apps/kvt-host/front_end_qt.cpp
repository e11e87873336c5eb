#include <QGuiApplication>
#include <cstdlib>

#include "apps/kvt-host/front_end.h"
#include "frontends/qt/report/qt_outputs.h"

namespace kvt::host {

bool HasDesk() { return true; }

int WithBatchDocuments(const std::function<int(const BatchDocuments&)>& run) {
  // Painted off screen, with Qt, which needs an application object.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "kvt-host";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  return run(
      {".pdf", [](const std::string& path) { return std::make_shared<qt::HeadlessOutput>(path); }});
}

}  // namespace kvt::host
