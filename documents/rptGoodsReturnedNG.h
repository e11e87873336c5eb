// rptGoodsReturnedNG — the goods returned voucher without lines or boxes.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptGoodsReturnedNG : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptGoodsReturnedNG();
};

}  // namespace kvt::documents
