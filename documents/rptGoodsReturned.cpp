#include "documents/rptGoodsReturned.h"

#include "documents/voucher_layout.h"

namespace kvt::documents {

rptGoodsReturned::rptGoodsReturned() : report::Report("rptGoodsReturned") {
  BuildVoucherLayout(*this, VoucherFamily::Returned, VoucherStyle::Ruled);
}

}  // namespace kvt::documents
