#include "apps/kvt-host/posting/voucher_lines.h"

#include <string>

#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::posting {

namespace {

// The value of `column` in the current row; Empty for Null and blank text.
vb::Variant Cell(const data::RecordSet& rows, const char* column) {
  vb::Variant value = rows.Item(column).Value();
  if (value.IsNull()) return {};
  if (const auto* text = value.get_if<std::string>()) {
    if (text->find_first_not_of(' ') == std::string::npos) return {};
  }
  return value;
}

VoucherLine ReadLine(const data::RecordSet& rows) {
  const auto key = [&](const char* column) { return vb::CLng(Cell(rows, column)); };
  const auto money = [&](const char* column) { return vb::CCur(Cell(rows, column)); };
  VoucherLine line;
  line.source_line_id = key("FK ID");
  line.product_id = key("ProductsID");
  line.qty = vb::CDbl(Cell(rows, "Qty"));
  line.unit_price = money("Unit Price");
  line.trade_disc = money("Trade Disc");
  line.rebate_disc = money("Rebate Disc");
  line.other_disc = money("Other Disc");
  line.net_amount = money("Net Amount");
  line.tax_code_id = key("Tax_Codes_ID");
  line.tax_amount = money("Tax Amount");
  line.total_cost = money("Total Cost");
  return line;
}

}  // namespace

std::vector<VoucherLine> ReadVoucherLines(data::RecordSet& rows) {
  const bool had_row = !rows.IsBOF() && !rows.IsEOF();
  const vb::Variant current = had_row ? rows.Bookmark() : vb::Variant();
  std::vector<VoucherLine> lines;
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    try {
      lines.push_back(ReadLine(rows));
    } catch (const vb::Error& error) {
      throw vb::Error(error.number(), error.source(), error.description(),
                      "voucher line " + std::to_string(lines.size() + 1) + ": " + error.context());
    }
  }
  if (had_row) rows.Bookmark(current);
  return lines;
}

vb::Currency VoucherTotal(const std::vector<VoucherLine>& lines) {
  vb::Currency total;
  for (const VoucherLine& line : lines) total += line.total_cost;
  return total;
}

}  // namespace kvt::posting
