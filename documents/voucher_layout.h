// The content the four voucher layouts share: their controls and
// geometry, ruled or plain, received or returned, and the table that binds
// the fields to the columns of the voucher's print data.
#pragma once

#include <span>

#include "documents/purchase_order_layout.h"
#include "platform/report/report.h"

namespace kvt::documents {

// Name of the data control that gives the layouts their rows.
inline constexpr const char* kVoucherDataControl = "dcHeader";
// The field that shows the page number; the binding table names it where
// its text is set (a binding without a column).
inline constexpr const char* kVoucherPageNumberField = "fldOHPageNo";

// Every run-time binding, in the order the fields are bound; the entry for
// kVoucherPageNumberField has a null column.
extern const std::span<const ColumnBinding> kVoucherBindings;

enum class VoucherFamily {
  Received,  // goods and consignment received (and consignment returned)
  Returned,  // goods returned
};

enum class VoucherStyle {
  Ruled,  // boxes round the blocks, rules in the heading strip and totals
  Plain,  // the same content without lines or boxes
};

// Adds the sections, controls and data control of a voucher layout to an
// empty report, with its page set up for the layouts' 11,225-twip width.
void BuildVoucherLayout(report::Report& report, VoucherFamily family, VoucherStyle style);

}  // namespace kvt::documents
