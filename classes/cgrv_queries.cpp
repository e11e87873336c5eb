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
  BindCall(table, "GetOutstandingOrders", &CGRV::GetOutstandingOrders);
  BindCall(table, "GetReceivedGRV", &CGRV::GetReceivedGRV);
  BindCall(table, "GetReceivedCRV", &CGRV::GetReceivedCRV);
  BindCall(table, "GetOutstandingOrdersDetails", &CGRV::GetOutstandingOrdersDetails);
  BindCall(table, "GetReceivedGRVDetails", &CGRV::GetReceivedGRVDetails);
  BindCall(table, "GetReceivedCRVDetails", &CGRV::GetReceivedCRVDetails);
}

}  // namespace classes
}  // namespace kvt
