// The host's voucher header strip: the delivery note number, the order
// number and supplier reference, and six totals of the voucher's lines. The
// host passes its control arrays in as late-bound objects; elements are
// reached by kvHeaderEdit index and one property is set on each.
#pragma once

#include <cstdint>

#include "platform/value/variant.h"

namespace kvt::data {
class RecordSet;
}

namespace kvt::vouchers {

// Each step of these four is attempted whatever happened to the one before;
// none raises.
// "OrderNo" into label element 2's Caption, "Supplier Ref" into text box
// element 3's Text; a Null leaves its control as it was.
void InsertOrderHeaderValues(data::RecordSet& rs, const vb::Variant& labels,
                             const vb::Variant& text_boxes);
// "Del Note No" into the Caption of `label` itself.
void InsertGRVHeaderValues(data::RecordSet& rs, const vb::Variant& label);
// Empties Text of text boxes 1 and 3, then of labels 2 and 4 to 9.
void ClearHeaderControls(const vb::Variant& text_boxes, const vb::Variant& labels);
// Empties Text of text box 1 and labels 4 to 9.
void ClearReturnHeaderControls(const vb::Variant& text_boxes, const vb::Variant& labels);

// Sums "Trade Disc", "Rebate Disc", "Other Disc", "Net Amount", "Tax
// Amount" and "Total Cost" over every row (Null adds nothing) in Currency
// and writes them with two decimals, grouped, into the Text of elements 4
// to 9 of `total_labels`; the set is returned to the row it stood on.
// Traps nothing: with no current row, a missing column, a value that is no
// number or an element without Text the error reaches the caller, the
// totals written so far stay and the set is not moved back.
void CalculateVoucherTotals(data::RecordSet& rs, const vb::Variant& total_labels);

// True when the host may switch to voucher function `function`: with no
// record set (`rs` null) always; for 0 and 1 while the set has no rows (a
// count of -1 included); otherwise never. Raises what reading the count
// raises.
bool CanChangeFunction(uint8_t function, data::RecordSet* rs);

}  // namespace kvt::vouchers
