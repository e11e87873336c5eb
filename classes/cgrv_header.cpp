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
  table.Call("InsertOrderHeaderValues", [](CGRV& self, object::Args args) -> vb::Variant {
    ExpectArguments(args, 3);
    self.InsertOrderHeaderValues(args[0], args[1], args[2]);
    return {};
  });
  using TwoObjects = void (CGRV::*)(const vb::Variant&, const vb::Variant&);
  for (auto [name, run] :
       {std::pair<const char*, TwoObjects>{"InsertGRVHeaderValues", &CGRV::InsertGRVHeaderValues},
        {"ClearHeaderControls", &CGRV::ClearHeaderControls},
        {"ClearReturnHeaderControls", &CGRV::ClearReturnHeaderControls},
        {"CalculateHeaderTotals", &CGRV::CalculateHeaderTotals}}) {
    table.Call(name, [run](CGRV& self, object::Args args) -> vb::Variant {
      ExpectArguments(args, 2);
      (self.*run)(args[0], args[1]);
      return {};
    });
  }
  table.Call("CanChangeFunction", [](CGRV& self, object::Args args) -> vb::Variant {
    ExpectArguments(args, 2);
    return self.CanChangeFunction(vb::CByte(args[0]), args[1]);
  });
}

}  // namespace classes
}  // namespace kvt
