#include "documents/rptPurchaseOrder.h"

#include "documents/purchase_order_layout.h"

namespace kvt::documents {

rptPurchaseOrder::rptPurchaseOrder() : report::Report("rptPurchaseOrder") {
  BuildPurchaseOrderLayout(*this, PurchaseOrderStyle::Boxed);
}

}  // namespace kvt::documents
