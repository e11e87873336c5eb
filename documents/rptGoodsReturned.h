// rptGoodsReturned — the goods returned voucher, ruled, with its totals in a grid.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptGoodsReturned : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptGoodsReturned();
};

}  // namespace kvt::documents
