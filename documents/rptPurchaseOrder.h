// rptPurchaseOrder — the purchase order with boxes round its blocks and
// rules in the heading band and the totals.
#pragma once

#include "platform/report/report.h"

namespace kvt::documents {

class rptPurchaseOrder : public report::Report {
 public:
  // A fresh instance of the layout, unbound.
  rptPurchaseOrder();
};

}  // namespace kvt::documents
