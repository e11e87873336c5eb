#include "vouchers/voucher_queries.h"

#include "component/mod_publics.h"
#include "platform/value/failure_style.h"
#include "services/data_gateway.h"

namespace kvt::vouchers {
namespace {

struct QueryText {
  const char* prefix;
  const char* source;
};

// In the order of VoucherQuery. The sources read as hosts have always seen
// them, the two consignment ones and the shortened order-detail one too.
constexpr QueryText kQueries[] = {
    {"Exec sp_AO_GRV_Select_Outstanding_Orders ", "VORodevarurUzovove.CGrv GetOutstandingOrders"},
    {"Exec sp_AO_GRV_Select_Outstanding_Order_Details ",
     "VORodevarurUzovove.CGrv GetOutstandingOrderDetail"},
    {"Exec sp_AO_Select_Received_GRV ", "VORodevarurUzovove.CGrv GetReceivedGRV"},
    {"Exec sp_AO_Select_Received_CRV ", "VORodevarurUzovove.Crv GetReceivedCRV"},
    {"Exec sp_AO_Select_ReceivedGRV_Details ", "VORodevarurUzovove.CGrv GetReceivedGRVDetails"},
    {"Exec sp_AO_Select_ReceivedCRV_Details ", "VORodevarurUzovove.Crv GetReceivedCRVDetails"},
};

const QueryText& TextOf(VoucherQuery query) { return kQueries[static_cast<int>(query)]; }

}  // namespace

std::string VoucherQueryCommand(VoucherQuery query, int32_t first) {
  return TextOf(query).prefix + std::to_string(first);
}

std::string VoucherQueryCommand(VoucherQuery query, int32_t first, int32_t second) {
  return VoucherQueryCommand(query, first) + "," + std::to_string(second);
}

const char* VoucherQuerySource(VoucherQuery query) { return TextOf(query).source; }

data::RecordSetRef RunVoucherQuery(VoucherQuery query, const std::string& command) {
  return vb::RaiseAs(kVoucherQueryError, VoucherQuerySource(query), [&] {
    component::Store& store = component::ThreadStore();
    services::DataGateway& gateway = store.DataGateway();
    data::ConnectionRef connection =
        gateway.OpenConnection(store.settings.connection_string, -1, 3);
    int32_t status = 0;
    return gateway.OpenRecordset(command, 1, 3, 3, connection, status);
  });
}

}  // namespace kvt::vouchers
