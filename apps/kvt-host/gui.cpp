#include "apps/kvt-host/gui.h"

#include <QApplication>
#include <memory>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/main_window.h"
#include "db/demo_database.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/report/output.h"

namespace kvt::host {

int RunGui(int argc, char** argv, const std::string& connection_text,
           const std::string& user_name) {
  QApplication app(argc, argv);
  ui::ScopedDriver driver(std::make_shared<qt::QtDriver>());
  auto output = std::make_shared<DeskOutput>();
  report::ScopedOutput installed(output);

  const DeskContext desk =
      OpenDesk(connection_text, user_name, db::kDemoCompanyID, db::kDemoDatabaseName);
  MainWindow window(desk, *output);
  output->SetWindow(&window);
  window.show();
  return app.exec();
}

}  // namespace kvt::host
