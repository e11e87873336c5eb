// The running totals of a purchase order's header: seven sums over the
// order's detail rows, shown in the host's header labels 1 to 7.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/value/currency.h"

namespace kvt::data {
class RecordSet;
}
namespace kvt::services {
class NumberFormatService;
}

namespace kvt::orders {

// The detail columns summed, in the order of the header labels 1 to 7.
inline constexpr std::array<const char*, 7> kHeaderTotalColumns = {
    "Trade Disc", "Rebate Disc", "Other Disc", "Net Amount", "Tax", "Total Cost", "Qty"};

using HeaderTotals = std::array<vb::Currency, 7>;

// Sums the seven columns over every row from the first, Nulls counting 0,
// each partial sum held as currency. Leaves `rows` past its last row. A set
// that holds no rows, or cannot tell its count (-1), sums to zeros without
// being moved. Raises 3265 for a missing column, 13 or 6 for a value that
// cannot be added. A set that keeps the seven as Currency or Double fields
// is summed straight from its column storage, any other row by row through
// the fields; the totals, errors and final position are the same.
HeaderTotals SumOrderDetailRows(data::RecordSet& rows);

// Sums `rows` and hands each total, as two-decimal text, to `set_caption`
// with its label index 1 to 7, in that order. Errors end it where they
// occur (labels already captioned keep their text) and reach the caller.
void CalculateHeaderTotals(
    data::RecordSet& rows, const services::NumberFormatService& formatter,
    const std::function<void(int index, const std::string& caption)>& set_caption);

}  // namespace kvt::orders
