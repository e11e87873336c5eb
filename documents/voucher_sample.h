// Made-up voucher print data, with every column the voucher layouts bind,
// for previews of the layouts, demonstrations and benchmarks.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/report/data_source.h"

namespace kvt::documents {

// `lines` lines of one voucher of transaction type `tran_type` (19, 20, 31
// or 32), header values repeated on each row, line figures as SampleLine
// gives them; "SubTotal" is the line before tax.
std::shared_ptr<report::MemoryTable> SampleVoucherData(int32_t tran_type, int lines);

}  // namespace kvt::documents
