#include "documents/rptGoodsReceived.h"

#include "documents/voucher_layout.h"

namespace kvt::documents {

rptGoodsReceived::rptGoodsReceived() : report::Report("rptGoodsReceived") {
  BuildVoucherLayout(*this, VoucherFamily::Received, VoucherStyle::Ruled);
}

}  // namespace kvt::documents
