#include "apps/kvt-host/order_scenario.h"

#include <memory>
#include <string>

#include "kvt/COrder.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"

namespace kvt::host {

namespace {

const char* YesNo(bool value) { return value ? "yes" : "no"; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

int RunOrderScenario(std::ostream& out) {
  auto user = std::make_shared<ui::HeadlessDriver>();
  ui::ScopedDriver installed(user);

  out << "== Purchase order PO000123: save with delivery details ==\n";
  COrder order;
  order.ConnectionString("Provider=SQLite;Data Source=kvt-demo.db");
  order.CompanyID(1);
  order.UserID(7);
  order.QtyDecimals(2);
  order.PriceDecimals(2);
  out << "host: settings written (company 1, user 7, 2 quantity and 2 price "
         "decimals)\n";

  order.LoadDeliveryForm();
  order.Order_No("PO000123");
  order.Date_Ordered("06/12/2026");
  order.Supplier_Name("Cape Fasteners (Pty) Ltd");
  order.Created_By("dana");
  order.Del_Name("Main Warehouse");
  order.Del_Address1("  14 Dock Road ");
  order.Del_Address2("Paarden Eiland");
  order.Del_Address3("Cape Town");
  order.Del_PostCode("7405");
  out << "host: delivery details filled, dialog loaded: "
      << YesNo(order.IsDeliveryFormLoaded()) << "\n";

  user->Inspect([&out](ui::Form& form) {
        out << "dialog: " << Quoted(form.Caption()) << " shown\n";
      })
      .Replace("txtDelAddr(0)", "  Receiving Bay 3  ")
      .Click("optChoice(1)")
      .Click("chkShow")
      .Click("cmdAction(0)");
  out << "user: renames the delivery to \"  Receiving Bay 3  \", chooses "
         "\"Save as a Pending Order\", ticks \"Show Preview\", confirms\n";
  order.ShowDeliveryForm();

  const bool confirmed = order.IsDeliveryFormLoaded();
  const bool order_now = order.OrderNow();
  out << "host reads back:\n"
      << "  confirmed            " << YesNo(confirmed) << "\n"
      << "  process order now    " << YesNo(order_now) << "\n"
      << "  show report preview  " << YesNo(order.Show_Report_Preview()) << "\n"
      << "  order                " << order.Order_No() << " of "
      << order.Date_Ordered() << ", " << order.Supplier_Name() << ", by "
      << order.Created_By() << "\n"
      << "  deliver to           " << Quoted(order.Del_Name()) << ", "
      << Quoted(order.Del_Address1()) << ", " << Quoted(order.Del_Address2())
      << ", " << Quoted(order.Del_Address3()) << ", "
      << Quoted(order.Del_PostCode()) << "\n";
  if (!confirmed) {
    out << "host: the user cancelled; the order stays open\n";
  } else if (order_now) {
    out << "host: saves the order and prints it\n";
  } else {
    out << "host: saves the order as pending\n";
  }
  order.UnloadDeliveryForm();
  out << "host: dialog unloaded: " << YesNo(!order.IsDeliveryFormLoaded()) << "\n";

  for (const auto& message : user->Messages()) {
    out << "message box " << Quoted(message.title) << ": " << message.prompt << "\n";
  }
  for (const auto& problem : user->Problems()) out << "script: " << problem << "\n";

  const bool as_scripted = confirmed && !order_now && user->Problems().empty();
  out << (as_scripted ? "scenario passed\n" : "scenario FAILED\n");
  return as_scripted ? 0 : 1;
}

}  // namespace kvt::host
