// A sale of consignment stock, recorded by the host: the consignment line
// it came off sells more and has less left (and carries the sale's date as
// its last sale's), and the consignment stock falls. The stock was never the business's own, so
// stock on hand stays.
#pragma once

#include <cstdint>

#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::posting {

struct ConsignmentSale {
  int32_t company_id = 0;
  int32_t consignment_line_id = 0;  // a line of a consignment received voucher
  double qty = 0;
  vb::Date date = vb::Date::Today();
  int32_t user_id = 0;  // 0: nobody named
};

// Records `sale` in one transaction. Refuses (kPostingRefused, nothing
// written) a line that is no consignment line of the company, a quantity
// not above zero, and more than is left on the line, checked inside the
// transaction as the voucher posting does.
void RecordConsignmentSale(data::Connection& connection, const ConsignmentSale& sale,
                           int attempts = 3);

}  // namespace kvt::posting
