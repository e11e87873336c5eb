// What a host needs beside the two classes to drive them as the component
// expects: the component's reading of typed numbers, the detail set its
// voucher lines are written into, and the message texts a host sees in the
// component's message boxes (to recognise them, or to title its own the
// same way).
#pragma once

#include <string>

#include "kvt/export.h"
#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt {

// `text` read as the component reads a typed number ("," grouping dropped,
// "." decimal point); Empty for text that is no number.
KVT_EXPORT vb::Variant ParseTypedNumber(const std::string& text);

// A new, empty voucher detail set with the columns CGRV.AddGRVDetailToRS
// writes: the consignment layout (quantities returned, sold and left) or
// the goods received one.
KVT_EXPORT data::RecordSetRef NewVoucherDetailSet(bool consignment);

// The titles of the receive item dialog's message boxes.
KVT_EXPORT const char* StockReceiptsTitle();
KVT_EXPORT const char* ConsignmentReturnsTitle();

// The save voucher dialog's refusal of a period before the current one.
KVT_EXPORT const char* PriorPeriodRefusedMessage();

}  // namespace kvt
