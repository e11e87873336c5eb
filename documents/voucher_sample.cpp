#include "documents/voucher_sample.h"

#include <string>
#include <vector>

#include "documents/purchase_order_sample.h"
#include "platform/value/date.h"

namespace kvt::documents {

std::shared_ptr<report::MemoryTable> SampleVoucherData(int32_t tran_type, int lines) {
  auto table = std::make_shared<report::MemoryTable>(SampleColumns(
      {"TranTypeID"},
      {"Date Received", "GRVID", "Username", "Del Note Number", "Order Number", "Our Ref",
       "Supp Ref", "Product Code", "Product Desc", "QTY", "Unit Price", "Trade Disc", "Rebate Disc",
       "Other Disc", "Tax Amount", "SubTotal", "Total Cost", "Notes"}));
  const vb::Date received = vb::Date::FromYmd(2026, 12, 11);
  // clang-format off
  for (int line = 1; line <= lines; ++line) {
    const SampleLineFigures figures = SampleLine(line);
    std::vector<vb::Variant> row{vb::Variant(tran_type)};
    const std::vector<vb::Variant> parties = SampleParties();
    row.insert(row.end(), parties.begin(), parties.end());
    row.insert(row.end(), {
        received, "GRV000417", "clerk",
        "DN-88341", "PO-1234", "KH-2210", "Q-7781",
        "PRD-" + std::to_string(10000 + line), "Hex bolt M8 x 40, stainless, pack of 50",
        vb::Variant(static_cast<double>(line)), SampleMoney(figures.unit_price),
        SampleMoney(figures.trade), SampleMoney(figures.rebate), SampleMoney(figures.other),
        SampleMoney(figures.tax), SampleMoney(figures.net), SampleMoney(figures.net + figures.tax),
        "Two boxes arrived with damaged packaging; the contents were counted and "
        "found complete.",
    });
    table->AddRow(std::move(row));
  }
  // clang-format on
  return table;
}

}  // namespace kvt::documents
