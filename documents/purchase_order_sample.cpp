#include "documents/purchase_order_sample.h"

#include <string>
#include <vector>

#include "documents/layout_parts.h"
#include "platform/value/currency.h"
#include "platform/value/date.h"

namespace kvt::documents {
namespace {

// Percentage of an amount in cents, rounded half up (amounts are positive).
int64_t PercentOf(int64_t cents, int64_t percent) { return (cents * percent + 50) / 100; }

}  // namespace

vb::Variant SampleMoney(int64_t cents) { return vb::Variant(vb::Currency::FromRaw(cents * 100)); }

std::vector<std::string> SampleColumns(std::initializer_list<const char*> before,
                                       std::initializer_list<const char*> after) {
  std::vector<std::string> columns(before.begin(), before.end());
  for (const ColumnBinding& party : kPartyBindings) columns.emplace_back(party.column);
  columns.insert(columns.end(), after.begin(), after.end());
  return columns;
}

SampleLineFigures SampleLine(int line) {
  SampleLineFigures figures{};
  figures.unit_price = 1250;
  const int64_t gross = figures.unit_price * line;
  figures.trade = PercentOf(gross, 5);
  figures.rebate = PercentOf(gross - figures.trade, 2);
  figures.other = PercentOf(gross - figures.trade - figures.rebate, 1);
  figures.net = gross - figures.trade - figures.rebate - figures.other;
  figures.tax = PercentOf(figures.net, 15);
  return figures;
}

// clang-format off
std::vector<vb::Variant> SampleParties() {
  return {"Acme Industrial Supplies (Pty) Ltd", "P O Box 1123", "Northgate", "2162",
          "011 555 0101", "011 555 0102", "4012345678", "Brellix Trading Ltd",
          "2009/123456/07", "14 Mill Road", "Eastfield", "2001", "011 555 0200",
          "011 555 0201", "4098765432"};
}
// clang-format on

std::shared_ptr<report::MemoryTable> SamplePurchaseOrderData(int lines) {
  auto table = std::make_shared<report::MemoryTable>(SampleColumns(
      {}, {"Date Ordered",  "Order Number", "Rep",          "Del Name",   "Del Addr1",
           "Del Addr2",     "Del Addr3",    "Del PostCode", "Supp Ref",   "Our Ref",
           "Product Code",  "Product Desc", "QTY",          "Unit Price", "Trade Disc",
           "Rebate Disc",   "Other Disc",   "Tax Amount",   "Net Amount", "Total Cost",
           "DefaultMessage"}));
  const vb::Date ordered = vb::Date::FromYmd(2026, 12, 4);
  // clang-format off
  for (int line = 1; line <= lines; ++line) {
    const SampleLineFigures figures = SampleLine(line);
    std::vector<vb::Variant> row = SampleParties();
    row.insert(row.end(), {
        ordered, vb::Variant(int32_t{1234}), "J. Mokoena", "Brellix Warehouse",
        "Unit 7, Dock Street", "Harbour Park", "Eastfield", "2002", "Q-7781",
        "PO-1234", "PRD-" + std::to_string(10000 + line),
        "Hex bolt M8 x 40, stainless, pack of 50",
        vb::Variant(static_cast<double>(line)), SampleMoney(figures.unit_price),
        SampleMoney(figures.trade), SampleMoney(figures.rebate), SampleMoney(figures.other),
        SampleMoney(figures.tax), SampleMoney(figures.net), SampleMoney(figures.net + figures.tax),
        "Please quote our order number on all invoices and delivery notes. "
        "Deliveries are accepted Monday to Friday, 08:00 to 16:00.",
    });
    table->AddRow(std::move(row));
  }
  // clang-format on
  return table;
}

}  // namespace kvt::documents
