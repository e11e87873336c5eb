// CGRV's voucher queries.
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "vouchers/voucher_queries.h"

namespace kvt {
namespace {

using vouchers::VoucherQuery;

vb::Variant Run(VoucherQuery query, const std::string& command) {
  return vb::ObjectRef(vouchers::RunVoucherQuery(query, command));
}

vb::Variant BySupplier(VoucherQuery query, int16_t supplier, int32_t company) {
  return Run(query, vouchers::VoucherQueryCommand(query, supplier, company));
}

vb::Variant ByKey(VoucherQuery query, int32_t key) {
  return Run(query, vouchers::VoucherQueryCommand(query, key));
}

}  // namespace

vb::Variant CGRV::GetOutstandingOrders(int16_t SuppliersID, int32_t pCompanyID) {
  return BySupplier(VoucherQuery::kOutstandingOrders, SuppliersID, pCompanyID);
}
vb::Variant CGRV::GetOutstandingOrdersDetails(int32_t OrderID) {
  return ByKey(VoucherQuery::kOutstandingOrderDetails, OrderID);
}
vb::Variant CGRV::GetReceivedGRV(int16_t SuppliersID, int32_t pCompanyID) {
  return BySupplier(VoucherQuery::kReceivedGRV, SuppliersID, pCompanyID);
}
vb::Variant CGRV::GetReceivedGRVDetails(int32_t pGRVID) {
  return ByKey(VoucherQuery::kReceivedGRVDetails, pGRVID);
}
vb::Variant CGRV::GetReceivedCRV(int16_t SuppliersID, int32_t pCompanyID) {
  return BySupplier(VoucherQuery::kReceivedCRV, SuppliersID, pCompanyID);
}
vb::Variant CGRV::GetReceivedCRVDetails(int32_t pGRVID) {
  return ByKey(VoucherQuery::kReceivedCRVDetails, pGRVID);
}

namespace classes {

void BindCGRVQueryMembers(CGRVTable& table) {
  using BySupplierMember = vb::Variant (CGRV::*)(int16_t, int32_t);
  for (auto [name, run] : {std::pair<const char*, BySupplierMember>{"GetOutstandingOrders",
                                                                    &CGRV::GetOutstandingOrders},
                           {"GetReceivedGRV", &CGRV::GetReceivedGRV},
                           {"GetReceivedCRV", &CGRV::GetReceivedCRV}}) {
    table.Call(name, [run](CGRV& self, object::Args args) -> vb::Variant {
      ExpectArguments(args, 2);
      return (self.*run)(vb::CInt(args[0]), vb::CLng(args[1]));
    });
  }
  using ByKeyMember = vb::Variant (CGRV::*)(int32_t);
  for (auto [name, run] : {std::pair<const char*, ByKeyMember>{"GetOutstandingOrdersDetails",
                                                               &CGRV::GetOutstandingOrdersDetails},
                           {"GetReceivedGRVDetails", &CGRV::GetReceivedGRVDetails},
                           {"GetReceivedCRVDetails", &CGRV::GetReceivedCRVDetails}}) {
    table.Call(name, [run](CGRV& self, object::Args args) -> vb::Variant {
      ExpectArguments(args, 1);
      return (self.*run)(vb::CLng(args[0]));
    });
  }
}

}  // namespace classes
}  // namespace kvt
