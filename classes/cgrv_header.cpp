// CGRV's voucher header members.
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "platform/data/record_set.h"
#include "platform/value/failure_style.h"
#include "vouchers/voucher_header.h"

namespace kvt {

using classes::RecordSetOf;

void CGRV::InsertOrderHeaderValues(const vb::Variant& rs, const vb::Variant& pLabel,
                                   const vb::Variant& pTxtBox) {
  vb::PassOver([&] { vouchers::InsertOrderHeaderValues(RecordSetOf(rs), pLabel, pTxtBox); });
}

void CGRV::InsertGRVHeaderValues(const vb::Variant& rs, const vb::Variant& pLabel) {
  vb::PassOver([&] { vouchers::InsertGRVHeaderValues(RecordSetOf(rs), pLabel); });
}

void CGRV::ClearHeaderControls(const vb::Variant& pTxtBox, const vb::Variant& pLabel) {
  vouchers::ClearHeaderControls(pTxtBox, pLabel);
}

void CGRV::ClearReturnHeaderControls(const vb::Variant& pTxtBox, const vb::Variant& pLabel) {
  vouchers::ClearReturnHeaderControls(pTxtBox, pLabel);
}

void CGRV::CalculateHeaderTotals(const vb::Variant& rs, const vb::Variant& pCalcLabel) {
  vb::RaiseToCaller([&] { vouchers::CalculateVoucherTotals(RecordSetOf(rs), pCalcLabel); });
}

bool CGRV::CanChangeFunction(uint8_t FuncType, const vb::Variant& GRVDetailRS) {
  return vb::RaiseToCaller([&] {
    const vb::ObjectRef* object = GRVDetailRS.get_if<vb::ObjectRef>();
    const bool no_object = object == nullptr || *object == nullptr;
    return vouchers::CanChangeFunction(FuncType, no_object ? nullptr : &RecordSetOf(GRVDetailRS));
  });
}

namespace classes {

void BindCGRVHeaderMembers(CGRVTable& table) {
  BindCall(table, "InsertOrderHeaderValues", &CGRV::InsertOrderHeaderValues);
  BindCall(table, "InsertGRVHeaderValues", &CGRV::InsertGRVHeaderValues);
  BindCall(table, "ClearHeaderControls", &CGRV::ClearHeaderControls);
  BindCall(table, "ClearReturnHeaderControls", &CGRV::ClearReturnHeaderControls);
  BindCall(table, "CalculateHeaderTotals", &CGRV::CalculateHeaderTotals);
  BindCall(table, "CanChangeFunction", &CGRV::CanChangeFunction);
}

}  // namespace classes
}  // namespace kvt
