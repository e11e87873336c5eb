// The desk's resident memory with a long history open: the main window on
// the database, every screen shown in turn (the order list and two older
// pages of it, a 200-line order, each voucher screen with the busiest
// supplier chosen and a source opened, the audit trail and settings), then
// the peak and current resident set. Run under a display (Xvfb) or with
// QT_QPA_PLATFORM=offscreen; not run in CI.
//
//   desk_memory DATABASE.sqlite
#include <QApplication>
#include <fstream>
#include <iostream>
#include <string>

#include "apps/kvt-host/desk/audit_page.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/main_window.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "apps/kvt-host/desk/voucher_page.h"
#include "db/demo_database.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/connection_text.h"

namespace {

// VmHWM and VmRSS of this process, as /proc has them.
std::string ResidentSet() {
  std::ifstream status("/proc/self/status");
  std::string line, figures;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM", 0) == 0 || line.rfind("VmRSS", 0) == 0) figures += line + "  ";
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: desk_memory DATABASE.sqlite\n";
    return 2;
  }
  QApplication app(argc, argv);
  using namespace kvt::host;
  try {
    const std::string text = kvt::db::ConnectionTextFor(argv[1]);
    kvt::services::ScopedConnectionReuse reuse;  // as the desk keeps its connections
    const DeskContext desk =
        OpenDesk(text, "", kvt::db::kDemoCompanyID, kvt::db::kDemoDatabaseName);
    DeskOutput output;
    MainWindow window(desk, output);
    window.resize(1280, 860);
    window.show();
    QApplication::processEvents();
    std::cout << "window shown:       " << ResidentSet() << "\n";
    window.Navigate(DeskScreen::kPurchaseOrders);
    window.Orders().ShowOlder();
    window.Orders().ShowOlder();
    const int32_t long_order =
        vb::CLng(desk.connection
                     ->Query("SELECT MAX(ID) FROM PurchaseOrders WHERE ID % 1000 = 500 AND (SELECT "
                             "COUNT(*) FROM PurchaseOrderDetails d WHERE d.PurchaseOrderID = "
                             "PurchaseOrders.ID) = 200")
                     ->Item(0)
                     .Value());
    window.Orders().OpenOrder(long_order);
    QApplication::processEvents();
    for (DeskScreen screen : {DeskScreen::kGoodsReceived, DeskScreen::kGoodsReturned,
                              DeskScreen::kConsignmentReceived, DeskScreen::kConsignmentReturned}) {
      window.Navigate(screen);
      window.Vouchers(screen).ChooseSupplier(101);  // the history's busiest
      window.Vouchers(screen).OpenSource(0);
      QApplication::processEvents();
    }
    window.Navigate(DeskScreen::kAudit);
    window.Audit().Search();
    window.Navigate(DeskScreen::kSettings);
    QApplication::processEvents();
    std::cout << "every screen walked: " << ResidentSet() << "\n";
  } catch (const vb::Error& error) {
    std::cerr << "desk_memory: " << error.description() << "\n";
    return 1;
  }
  return 0;
}
