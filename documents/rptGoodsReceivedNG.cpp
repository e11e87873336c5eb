#include "documents/rptGoodsReceivedNG.h"

#include "documents/voucher_layout.h"

namespace kvt::documents {

rptGoodsReceivedNG::rptGoodsReceivedNG() : report::Report("rptGoodsReceivedNG") {
  BuildVoucherLayout(*this, VoucherFamily::Received, VoucherStyle::Plain);
}

}  // namespace kvt::documents
