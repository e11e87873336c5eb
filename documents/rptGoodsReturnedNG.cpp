#include "documents/rptGoodsReturnedNG.h"

#include "documents/voucher_layout.h"

namespace kvt::documents {

rptGoodsReturnedNG::rptGoodsReturnedNG() : report::Report("rptGoodsReturnedNG") {
  BuildVoucherLayout(*this, VoucherFamily::Returned, VoucherStyle::Plain);
}

}  // namespace kvt::documents
