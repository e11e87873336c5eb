// The lines of a voucher as the host's detail record set holds them, in
// the row layout the component writes: text as the dialog shows it
// ("1,234.50") or numbers, read with the platform's conversions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/data/record_set.h"
#include "platform/value/currency.h"

namespace kvt::posting {

struct VoucherLine {
  int32_t source_line_id = 0;  // "FK ID": the line drawn on
  int32_t product_id = 0;      // "ProductsID"; 0 when not given
  double qty = 0;              // "Qty"
  vb::Currency unit_price;     // "Unit Price"
  vb::Currency trade_disc;     // "Trade Disc"
  vb::Currency rebate_disc;    // "Rebate Disc"
  vb::Currency other_disc;     // "Other Disc"
  vb::Currency net_amount;     // "Net Amount"
  int32_t tax_code_id = 0;     // "Tax_Codes_ID"; 0 when not given
  vb::Currency tax_amount;     // "Tax Amount"
  vb::Currency total_cost;     // "Total Cost"
};

// Every row of `rows`, first to last; the row current before stays current
// (a pending edit is committed, as any move does). Null and empty text read
// as 0. Raises 3265 for a missing column, 13 for text that is no number,
// with the row and column in the context.
std::vector<VoucherLine> ReadVoucherLines(data::RecordSet& rows);

// The sum of the lines' totals. Raises 6 on overflow.
vb::Currency VoucherTotal(const std::vector<VoucherLine>& lines);

}  // namespace kvt::posting
