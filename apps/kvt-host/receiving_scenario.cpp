#include "apps/kvt-host/receiving_scenario.h"

#include <functional>
#include <iomanip>
#include <memory>

#include "db/demo_database.h"
#include "kvt/CGRV.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"
#include "vouchers/voucher_detail_rows.h"

namespace kvt::host {
namespace {

// The host's voucher header strip: delivery note and supplier reference
// boxes, the order number label, and the six total boxes (read-only).
class VoucherHeader : public ui::Form {
 public:
  VoucherHeader() : Form("frmVoucherHeader") {}
  std::string Total(int index) { return Ctl<ui::TextBox>("txtTotals", index).Text(); }
  std::string OrderNo() { return Ctl<ui::Label>("lblHeader", 2).Caption(); }
  std::string SupplierRef() { return Ctl<ui::TextBox>("txtHeader", 3).Text(); }

 protected:
  void Build() override {
    Add<ui::TextBox>("txtHeader", 1);
    Add<ui::Label>("lblHeader", 2);
    Add<ui::TextBox>("txtHeader", 3);
    for (int i = 4; i <= 9; ++i) Add<ui::TextBox>("txtTotals", i).Locked(true);
  }
};

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

data::RecordSet& RowsOf(const vb::Variant& value) {
  return dynamic_cast<data::RecordSet&>(**value.get_if<vb::ObjectRef>());
}

std::string Text(const vb::Variant& value) { return value.IsNull() ? "" : vb::CStr(value); }

std::string Money(const vb::Variant& value) {
  return value.IsNull() ? "" : services::NumberFormatService().FormatAmount(value, 2, -1, 0, -1);
}

void PrintVoucherLines(data::RecordSet& rows, std::ostream& out) {
  out << "  " << std::left << std::setw(10) << "Code" << std::setw(30) << "Product" << std::right
      << std::setw(8) << "Qty" << std::setw(10) << "Price" << std::setw(9) << "Trade"
      << std::setw(9) << "Rebate" << std::setw(11) << "Net" << std::setw(9) << "Tax"
      << std::setw(11) << "Total" << "\n";
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    out << "  " << std::left << std::setw(10) << Text(rows.Item("Code").Value()) << std::setw(30)
        << Text(rows.Item("Product").Value()) << std::right << std::setw(8)
        << Money(rows.Item("Qty").Value()) << std::setw(10)
        << Money(rows.Item("Unit Price").Value()) << std::setw(9)
        << Money(rows.Item("Trade Disc").Value()) << std::setw(9)
        << Money(rows.Item("Rebate Disc").Value()) << std::setw(11)
        << Money(rows.Item("Net Amount").Value()) << std::setw(9)
        << Money(rows.Item("Tax Amount").Value()) << std::setw(11)
        << Money(rows.Item("Total Cost").Value()) << "\n";
  }
}

}  // namespace

int RunReceivingScenario(const std::string& connection_text, int16_t supplier_id,
                         std::ostream& out) {
  out << "== Goods received against an outstanding order ==\n";
  CGRV grv;
  grv.ConnectionString(connection_text);
  grv.CompanyID(db::kDemoCompanyID);
  grv.QtyDecimals(2);
  grv.PriceDecimals(2);

  vb::Variant orders_value = grv.GetOutstandingOrders(supplier_id, db::kDemoCompanyID);
  data::RecordSet& orders = RowsOf(orders_value);
  out << "Orders of supplier " << supplier_id << " with stock to come: "
      << orders.RecordCount() << "\n";
  for (orders.MoveFirst(); !orders.IsEOF(); orders.MoveNext()) {
    out << "  " << Text(orders.Item("Order Number").Value()) << "  dated "
        << Text(orders.Item("Date Ordered").Value()) << ", "
        << Text(orders.Item("Outstanding Lines").Value()) << " line(s) outstanding\n";
  }
  if (orders.RecordCount() < 1) {
    out << "scenario FAILED: nothing to receive\n";
    return 1;
  }
  orders.MoveFirst();
  const int32_t order_id = vb::CLng(orders.Item("ID").Value());
  auto header = std::make_shared<VoucherHeader>();
  header->Load();
  grv.ClearHeaderControls(header->Get("txtHeader"), header->Get("lblHeader"));
  grv.InsertOrderHeaderValues(orders_value, header->Get("lblHeader"), header->Get("txtHeader"));
  out << "Receiving against " << header->OrderNo() << " (supplier ref \""
      << header->SupplierRef() << "\")\n";

  vb::Variant lines_value = grv.GetOutstandingOrdersDetails(order_id);
  data::RecordSet& lines = RowsOf(lines_value);
  auto voucher = vouchers::NewVoucherDetailSet(vouchers::DetailLayout::kGoodsReceived);
  bool as_scripted = true;
  grv.LoadGRVDetailForm();

  // One line: the host fills the dialog, the scripted clerk works it, the
  // host writes what the clerk confirmed.
  auto line = [&](const std::string& what, const std::function<void()>& fill,
                  const std::function<void(ui::HeadlessDriver&)>& clerk,
                  const std::function<void()>& store) {
    out << "\n" << what << "\n";
    fill();
    auto user = std::make_shared<ui::HeadlessDriver>();
    clerk(*user);
    ui::ScopedDriver installed(user);
    grv.ShowGRVDetailForm();
    for (const auto& message : user->Messages()) {
      out << "  message box \"" << message.title << "\": " << message.prompt << "\n";
    }
    for (const auto& problem : user->Problems()) out << "  script: " << problem << "\n";
    if (!grv.IsGRVDetailFormLoaded()) {
      out << "  clerk cancelled\n";
      as_scripted = false;
      return;
    }
    out << "  confirmed: " << grv.Product_Code() << " qty " << grv.Received_Qty() << " at "
        << grv.Unit_Price() << ", trade " << grv.Trade_Discount() << ", rebate "
        << grv.Rebate_Discount() << ", other " << grv.Other_Discount() << ", net "
        << grv.Net_Amount() << ", tax " << grv.Tax_Amount() << " (" << grv.Tax_Code()
        << "), total " << grv.Total_Cost() << "\n";
    store();
  };
  auto add = [&] { grv.AddGRVDetailToRS(AsVariant(voucher)); };

  int received = 0;
  for (lines.MoveFirst(); !lines.IsEOF() && received < 2; lines.MoveNext(), ++received) {
    const std::string code = Text(lines.Item("Code").Value());
    if (received == 0) {
      line("Receive " + code + ": the clerk takes the outstanding quantity as proposed",
           [&] {
             grv.Set_Form_State(kvFormState::kvAdding);
             grv.AssignAllForAdding(lines_value);
           },
           [](ui::HeadlessDriver& clerk) { clerk.Click("cmdAction(0)"); }, add);
    } else {
      line("Receive " + code + ": only 2 arrived; the clerk types 2, presses Enter, adds",
           [&] {
             grv.Set_Form_State(kvFormState::kvAdding);
             grv.AssignAllForAdding(lines_value);
           },
           [](ui::HeadlessDriver& clerk) {
             clerk.Replace("txtODEdit(0)", "2").Press(ui::vbKeyReturn).Click("cmdAction(0)");
           },
           add);
    }
  }
  line("Correct the first line: the supplier's price was 2.00 lower",
       [&] {
         voucher->MoveFirst();
         grv.Set_Form_State(kvFormState::kvEditing);
         grv.AssignAllForEditing(AsVariant(voucher));
         const double price = vb::CDbl(vb::CCur(grv.Unit_Price())) - 2;
         grv.Unit_Price(vb::CStr(price));
       },
       [](ui::HeadlessDriver& clerk) {
         clerk.Focus("txtODEdit(1)").Press(ui::vbKeyTab).Click("cmdAction(0)");
       },
       [&] {
         grv.UpdateGRVDetailRS(AsVariant(voucher));
         voucher->Update();  // committing the row is the host's part
       });
  grv.UnloadGRVDetailForm();

  grv.CalculateHeaderTotals(AsVariant(voucher), header->Get("txtTotals"));
  out << "\nVoucher lines in the host's record set (" << voucher->RecordCount() << "):\n";
  PrintVoucherLines(*voucher, out);
  const char* totals[10] = {"", "", "", "", "Trade discount", "Rebate discount",
                            "Other discount", "Net amount", "Tax", "Voucher total"};
  out << "Header totals:\n";
  for (int i = 4; i <= 9; ++i) {
    out << "  " << std::left << std::setw(16) << totals[i] << std::right << std::setw(12)
        << header->Total(i) << "\n";
  }
  const bool passed = as_scripted && voucher->RecordCount() == received;
  out << (passed ? "scenario passed\n" : "scenario FAILED\n");
  return passed ? 0 : 1;
}

}  // namespace kvt::host
