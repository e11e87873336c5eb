// rptGoodsReceived — the goods received voucher with boxes round its
// blocks and rules in the heading strip and the totals; consignment
// vouchers print on it too.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptGoodsReceived : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptGoodsReceived();
};

}  // namespace kvt::documents
