// rptPurchaseOrderNG — the purchase order without boxes and rules, for
// pre-printed or plain stationery.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptPurchaseOrderNG : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptPurchaseOrderNG();
};

}  // namespace kvt::documents
