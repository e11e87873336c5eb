// Writing the voucher line into the host's voucher detail set: "FK ID",
// "ProductsID", "Product", "Code", "Qty", (for consignment "Qty Returned",
// "Qty Sold", "Qty Left"), "Unit Price", "Trade Disc", "Rebate Disc",
// "Other Disc", "Net Amount", "Tax_Codes_ID", "Tax Code", "Tax Amount",
// "Total Cost". The writers hand over the line's text (or the numbers said
// below) and the record set converts it to its column types.
//
// Both raise at the first column that fails (a missing column, a closed
// set, a value the column refuses), keeping what they set before; CGRV
// names the style. An add that fails before its save leaves the new row
// unsaved in the set.
#pragma once

#include "vouchers/frmEditGRVDetail.h"

#include "platform/data/record_set.h"

namespace kvt::vouchers {

enum class DetailLayout { kGoodsReceived, kConsignment };

// A new, open, empty voucher detail set with the layout's columns typed as
// a host keeps them: keys whole numbers, quantities doubles, names text,
// amounts currency.
data::RecordSetRef NewVoucherDetailSet(DetailLayout layout);

// Appends the line as a new row, saves it and leaves the set on it (on the
// first row when the set holds fewer than two). Quantities are stored as
// numbers (grouping removed, 0 when not numeric).
void AddVoucherDetail(frmEditGRVDetail& form, data::RecordSet& destination, DetailLayout layout);

// Overwrites the current row, except "FK ID", and leaves the change
// pending. Quantities are written as their text; an empty text writes the
// column's fixed value (0, 1 for "Tax_Codes_ID", empty text for names).
void UpdateVoucherDetail(frmEditGRVDetail& form, data::RecordSet& destination, DetailLayout layout);

}  // namespace kvt::vouchers
