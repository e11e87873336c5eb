// rptGoodsReceivedNG — the goods received voucher without lines or boxes.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptGoodsReceivedNG : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptGoodsReceivedNG();
};

}  // namespace kvt::documents
