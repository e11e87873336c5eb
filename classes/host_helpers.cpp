#include "kvt/host_helpers.h"

#include "component/mod_general.h"
#include "vouchers/frmEditGRVDetail.h"
#include "vouchers/frmSaveGRV.h"
#include "vouchers/voucher_detail_rows.h"

namespace kvt {

vb::Variant ParseTypedNumber(const std::string& text) {
  return component::ParseNumber(vb::Variant(text));
}

data::RecordSetRef NewVoucherDetailSet(bool consignment) {
  return vouchers::NewVoucherDetailSet(consignment ? vouchers::DetailLayout::kConsignment
                                                   : vouchers::DetailLayout::kGoodsReceived);
}

const char* StockReceiptsTitle() { return vouchers::kStockReceiptsTitle; }
const char* ConsignmentReturnsTitle() { return vouchers::kConsignmentReturnsTitle; }
const char* PriorPeriodRefusedMessage() { return vouchers::kPriorPeriodRefused; }

}  // namespace kvt
