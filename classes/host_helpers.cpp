#include "kvt/host_helpers.h"

#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "documents/purchase_order_printing.h"
#include "documents/voucher_printing.h"
#include "orders/discount_formula.h"
#include "orders/frmDeliveryDetails.h"
#include "platform/script/script_control.h"
#include "platform/ui/controls.h"
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

vb::Currency EvaluateDiscountFormula(std::string& formula, const std::string& subtotal,
                                     const std::string& parameters) {
  return orders::ExpandAndEvaluateFormula(script::ScriptControl(), subtotal, parameters, formula);
}

bool WantsBoxedPurchaseOrder(const std::string& saved_value) {
  return documents::WantsBoxedPurchaseOrder(saved_value);
}
bool WantsPlainVoucher(const std::string& saved_value) {
  return documents::WantsPlainVoucher(saved_value);
}

void ProposeSavingWithoutProcessing() {
  static_cast<ui::OptionButton&>(
      orders::SharedDeliveryDialog().Element(orders::frmDeliveryDetails::Array::kOptChoice, 1))
      .Value(true);
}

void ForgetThreadState() { component::ResetThreadStore(); }

}  // namespace kvt
