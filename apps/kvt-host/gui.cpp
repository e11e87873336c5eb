#include "apps/kvt-host/gui.h"

#include <QApplication>
#include <memory>

#include "apps/kvt-host/order_workbench.h"
#include "db/demo_database.h"
#include "frontends/qt/report/qt_outputs.h"
#include "frontends/qt/ui/qt_driver.h"
#include "platform/data/connection.h"
#include "platform/report/output.h"
#include "services/connection_text.h"

namespace kvt::host {

int RunGui(int argc, char** argv, const std::string& connection_text) {
  QApplication app(argc, argv);
  ui::ScopedDriver driver(std::make_shared<qt::QtDriver>());
  report::ScopedOutput output(std::make_shared<qt::DialogOutput>());

  auto workbench = std::make_shared<OrderWorkbench>(
      services::OpenConnection(services::ParseConnectionText(connection_text)), connection_text,
      db::kDemoCompanyID, db::kDemoDatabaseName);
  workbench->OpenOrder(2);  // PO000102, open for editing
  workbench->Show();
  return 0;
}

}  // namespace kvt::host
