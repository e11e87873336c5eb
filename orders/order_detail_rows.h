// Copying the accepted order line from the order item dialog into the
// host's order-detail record set. Neither recalculates: the values are
// those of the dialog's last calculation.
#pragma once

#include "platform/data/record_set.h"

namespace kvt::orders {

class frmEditOrderDetail;

// The columns of an order-detail row, in the order they are written.
inline constexpr const char* kOrderDetailColumns[] = {
    "Products ID", "Product",           "Lead Time",    "Qty",
    "B/O Qty",     "Free Qty",          "Unit Price",   "Trade_Discount_Formula_ID",
    "Trade Disc",  "Rebate_Formula_ID", "Rebate Disc",  "Other_Discount_Formula_ID",
    "Other Disc",  "Net Amount",        "Tax_Codes_ID", "Tax",
    "Total Cost"};

// A new, open, empty order-detail set with these columns typed as a host
// keeps them: IDs and lead time whole numbers, quantities doubles, the
// product name text, amounts currency.
data::RecordSetRef NewOrderDetailSet();

// Appends the line as a new row and leaves it current. Each column that
// cannot be written shows the error's description in a warning box and
// the rest are still written, so the row is added regardless.
void AddOrderDetailToRS(frmEditOrderDetail& form, data::RecordSet& destination);

// Overwrites the row the set is positioned on, except "Lead Time"; the row
// is neither committed nor left. Raises at the first column that cannot be
// written, with the columns before it written.
void UpdateOrderDetailRS(frmEditOrderDetail& form, data::RecordSet& destination);

}  // namespace kvt::orders
