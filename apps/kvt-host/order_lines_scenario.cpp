#include "apps/kvt-host/order_lines_scenario.h"

#include <functional>
#include <iomanip>
#include <memory>

#include "db/demo_database.h"
#include "kvt/COrder.h"
#include "orders/order_detail_rows.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace kvt::host {
namespace {

// The host's order header: the seven total labels the component fills.
class OrderHeaderLabels : public ui::Form {
 public:
  OrderHeaderLabels() : Form("frmOrderHeader") {}
  std::string Total(int index) { return Ctl<ui::Label>("lblOHeaderEdit", index).Caption(); }

 protected:
  void Build() override {
    for (int i = 1; i <= 7; ++i) Add<ui::Label>("lblOHeaderEdit", i);
  }
};

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

std::string Money(const vb::Variant& value) {
  return value.IsNull() ? "" : services::NumberFormatService().FormatAmount(value, 2, -1, 0, -1);
}

void PrintLines(data::RecordSet& rows, std::ostream& out) {
  out << "  " << std::left << std::setw(32) << "Product" << std::right << std::setw(9)
      << "Qty" << std::setw(10) << "Price" << std::setw(10) << "Trade" << std::setw(10)
      << "Rebate" << std::setw(10) << "Other" << std::setw(11) << "Net" << std::setw(10)
      << "Tax" << std::setw(11) << "Total" << "\n";
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    out << "  " << std::left << std::setw(32) << vb::CStr(rows.Item("Product").Value())
        << std::right << std::setw(9) << Money(rows.Item("Qty").Value()) << std::setw(10)
        << Money(rows.Item("Unit Price").Value()) << std::setw(10)
        << Money(rows.Item("Trade Disc").Value()) << std::setw(10)
        << Money(rows.Item("Rebate Disc").Value()) << std::setw(10)
        << Money(rows.Item("Other Disc").Value()) << std::setw(11)
        << Money(rows.Item("Net Amount").Value()) << std::setw(10)
        << Money(rows.Item("Tax").Value()) << std::setw(11)
        << Money(rows.Item("Total Cost").Value()) << "\n";
  }
}

}  // namespace

int RunOrderLinesScenario(const std::string& connection_text, std::ostream& out) {
  services::DataGateway gateway;
  auto product = [&](int id) {
    data::ConnectionRef connection = gateway.OpenConnection(connection_text, -1, 3);
    int32_t status = 0;
    return AsVariant(gateway.OpenRecordset(
        "Exec sp_AO_Select_Product_Details " + std::to_string(id), 1, 3, 3, connection,
        status));
  };

  out << "== Purchase order PO000200: lines through the order item dialog ==\n";
  COrder order;
  order.ConnectionString(connection_text);
  order.CompanyID(db::kDemoCompanyID);
  order.UserID(7);
  order.QtyDecimals(2);
  order.PriceDecimals(2);
  order.LoadDetailForm();
  auto detail = orders::NewOrderDetailSet();
  bool as_scripted = true;

  // One line: the host fills, the scripted buyer works the dialog, the
  // host reads back and writes the line.
  auto line = [&](const std::string& what, const std::function<void()>& fill,
                  const std::function<void(ui::HeadlessDriver&)>& buyer,
                  const std::function<void()>& store) {
    out << "\n" << what << "\n";
    fill();
    auto user = std::make_shared<ui::HeadlessDriver>();
    buyer(*user);
    ui::ScopedDriver installed(user);
    order.ShowDetailForm();
    for (const auto& message : user->Messages()) {
      out << "  message box \"" << message.title << "\": " << message.prompt << "\n";
    }
    for (const auto& problem : user->Problems()) out << "  script: " << problem << "\n";
    if (!order.IsEditFormLoaded()) {
      out << "  buyer cancelled\n";
      as_scripted = false;
      return;
    }
    out << "  accepted: qty " << order.Order_Qty() << " at " << order.Unit_Price()
        << ", trade " << order.Trade_Discount() << " (formula "
        << order.Trade_Disc_Formula() << "), rebate " << order.Rebate_Discount()
        << " (formula " << order.Rebate_Disc_Formula() << "), other "
        << order.Other_Discount() << ", net " << order.Net_Amount() << ", tax "
        << order.Tax() << " (code " << order.Tax_Code() << "), total "
        << order.Total_Cost() << "\n";
    store();
  };
  auto add = [&] { order.AddOrderDetailToRS(AsVariant(detail)); };

  line("Add NUT-M10 (no formulas, no tax code on the product): 20 boxes",
       [&] { order.AssignAllForAdding(product(2), 20, "PO000200"); },
       [](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); }, add);
  line("Add BLT-M10 (trade formula 5% ticked, rebate 2%): buyer makes it 12, "
       "presses Enter, accepts",
       [&] { order.AssignAllForAdding(product(1), 10, "PO000200"); },
       [](ui::HeadlessDriver& buyer) {
         buyer.Replace("txtODEdit(0)", "12").Press(ui::vbKeyReturn).Click("cmdAction(0)");
       },
       add);
  line("Add PNT-WHT5 (trade formula 5% ticked): 4 tins",
       [&] { order.AssignAllForAdding(product(5), 4, "PO000200"); },
       [](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); }, add);
  line("Edit the PNT-WHT5 line: buyer types a rebate of 25.00 and applies",
       [&] {
         detail->MoveLast();
         order.AssignAllForEditing(product(5), AsVariant(detail), "PO000200");
       },
       [](ui::HeadlessDriver& buyer) {
         buyer.Replace("txtODEdit(3)", "25").Click("cmdAction(2)").Click("cmdAction(0)");
       },
       [&] {
         order.UpdateOrderDetailRS(AsVariant(detail));
         detail->Update();  // committing the row is the host's part
       });

  auto header = std::make_shared<OrderHeaderLabels>();
  header->Load();
  order.CalculateHeaderTotals(AsVariant(detail), header->Get("lblOHeaderEdit"));

  out << "\nOrder lines in the host's record set (" << detail->RecordCount() << "):\n";
  PrintLines(*detail, out);
  const char* totals[8] = {"", "Trade discount", "Rebate discount", "Other discount",
                           "Net amount", "Tax", "Order total", "Quantity"};
  out << "Header totals:\n";
  for (int i = 1; i <= 7; ++i) {
    out << "  " << std::left << std::setw(16) << totals[i] << std::right << std::setw(12)
        << header->Total(i) << "\n";
  }
  order.UnloadDetailForm();
  out << (as_scripted && detail->RecordCount() == 3 ? "scenario passed\n"
                                                    : "scenario FAILED\n");
  return as_scripted && detail->RecordCount() == 3 ? 0 : 1;
}

}  // namespace kvt::host
