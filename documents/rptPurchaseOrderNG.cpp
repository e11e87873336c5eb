#include "documents/rptPurchaseOrderNG.h"

#include "documents/purchase_order_layout.h"

namespace kvt::documents {

rptPurchaseOrderNG::rptPurchaseOrderNG() : report::Report("rptPurchaseOrderNG") {
  BuildPurchaseOrderLayout(*this, PurchaseOrderStyle::Plain);
}

}  // namespace kvt::documents
