// The smallest host: creates the component's classes, hands them the shared
// settings and asks one question by name, as a late-binding host does.
#include <iostream>
#include <vector>

#include "kvt/CGRV.h"
#include "kvt/COrder.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

int main() {
  kvt::COrder order;
  order.ConnectionString("Provider=SQLite;Data Source=purchasing.sqlite");
  order.CompanyID(1);
  order.QtyDecimals(2);
  order.PriceDecimals(2);
  kvt::CGRV vouchers;  // shares the settings just written

  std::vector<vb::Variant> no_arguments;
  try {
    vb::Variant loaded = order.Invoke("IsEditFormLoaded", kvt::CallKind::kGet, no_arguments);
    std::cout << "IsEditFormLoaded = " << vb::CStr(loaded) << "\n";
    std::cout << "slot of ShowPurchaseOrder = " << kvt::COrder::SlotOf("ShowPurchaseOrder") << "\n";
  } catch (const vb::Error& error) {
    std::cerr << "hello-host: " << error.description() << " (error " << error.number() << ")\n";
    return 1;
  }
  return 0;
}
