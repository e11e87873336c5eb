#include "apps/kvt-host/gui.h"

#include <QApplication>
#include <memory>
#include <string>

#include "frontends/qt/ui/qt_driver.h"
#include "kvt/COrder.h"
#include "platform/ui/msg_box.h"

namespace kvt::host {

int RunGui(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::ScopedDriver installed(std::make_shared<qt::QtDriver>());

  COrder order;
  order.ConnectionString("Provider=SQLite;Data Source=kvt-demo.db");
  order.CompanyID(1);
  order.UserID(7);
  order.LoadDeliveryForm();
  order.Order_No("PO000123");
  order.Date_Ordered("06/12/2026");
  order.Supplier_Name("Cape Fasteners (Pty) Ltd");
  order.Created_By("dana");
  order.Del_Name("Main Warehouse");
  order.Del_Address1("14 Dock Road");
  order.Del_Address2("Paarden Eiland");
  order.Del_Address3("Cape Town");
  order.Del_PostCode("7405");
  order.ShowDeliveryForm();

  std::string summary;
  if (!order.IsDeliveryFormLoaded()) {
    summary = "Cancelled: the order stays open.";
  } else {
    summary = std::string(order.OrderNow() ? "Save the order now and print it"
                                           : "Save the order as pending") +
              (order.Show_Report_Preview() ? ", with a preview." : ".") +
              "\nDeliver to: " + order.Del_Name() + ", " + order.Del_Address1() +
              ", " + order.Del_Address2() + ", " + order.Del_Address3() + ", " +
              order.Del_PostCode();
  }
  ui::MsgBox(summary, ui::vbOKOnly + ui::vbInformation, "Purchase Orders");
  order.UnloadDeliveryForm();
  return 0;
}

}  // namespace kvt::host
