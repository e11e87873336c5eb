// Made-up purchase-order print data, with every column the layouts bind,
// for previews of the layouts, demonstrations and benchmarks.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/data_source.h"
#include "platform/value/variant.h"

namespace kvt::documents {

// The figures of made-up line `line` (from 1), in cents: `line` units at
// 12.50 with 5% trade, 2% rebate and 1% other discount and 15% tax.
struct SampleLineFigures {
  int64_t unit_price, trade, rebate, other, net, tax;
};
SampleLineFigures SampleLine(int line);

// The supplier's and the own company's made-up details, in the order of
// the print-data columns "Supp Name" to "Co TaxNo".
std::vector<vb::Variant> SampleParties();

// Print-data column names: `before`, the party columns SampleParties
// fills, then `after`.
std::vector<std::string> SampleColumns(std::initializer_list<const char*> before,
                                       std::initializer_list<const char*> after);

// An amount in cents, as the Currency the print data carries.
vb::Variant SampleMoney(int64_t cents);

// `lines` order lines of one order (header values repeated on each row).
// Line i (from 1) orders i units at 12.50 with 5% trade, 2% rebate and 1%
// other discount and 15% tax; "Net Amount" is the line before tax.
std::shared_ptr<report::MemoryTable> SamplePurchaseOrderData(int lines);

}  // namespace kvt::documents
