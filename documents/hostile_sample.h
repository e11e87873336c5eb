// Print data made to break a layout, for the check that no text of any
// layout runs into another or loses a character, and for looking at the
// result: amounts of 1 to 15 digits in every money column of the same
// line, negative amounts, 9-digit quantities, 80- and 200-character words
// in descriptions, codes, references, names and addresses, accented and
// wide characters, and empty values.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/report/data_source.h"

namespace kvt::documents {

// The purchase order's columns (as SamplePurchaseOrderData has them).
std::shared_ptr<report::MemoryTable> HostilePurchaseOrderData();
// A voucher's columns (as SampleVoucherData has them), of `tran_type`.
std::shared_ptr<report::MemoryTable> HostileVoucherData(int32_t tran_type);

}  // namespace kvt::documents
