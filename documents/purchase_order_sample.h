// Made-up purchase-order print data, with every column the layouts bind,
// for previews of the layouts, demonstrations and benchmarks.
#pragma once

#include <memory>

#include "platform/report/data_source.h"

namespace kvt::documents {

// `lines` order lines of one order (header values repeated on each row).
// Line i (from 1) orders i units at 12.50 with 5% trade, 2% rebate and 1%
// other discount and 15% tax; "Net Amount" is the line before tax.
std::shared_ptr<report::MemoryTable> SamplePurchaseOrderData(int lines);

}  // namespace kvt::documents
