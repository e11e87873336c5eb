// The six questions a voucher screen asks before a voucher is captured:
// which orders still have stock to come and their lines, which vouchers
// were received and their lines. Each builds one command text, runs it
// through the thread's DataGateway on a new connection with the shared
// connection text, and hands the record set over unchanged.
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/record_set.h"

namespace kvt::vouchers {

enum class VoucherQuery {
  kOutstandingOrders,        // supplier, company
  kOutstandingOrderDetails,  // order
  kReceivedGRV,              // supplier, company
  kReceivedCRV,              // supplier, company
  kReceivedGRVDetails,       // voucher
  kReceivedCRVDetails,       // voucher
};

// vbObjectError + 2500: the number every query failure is raised with.
inline constexpr int32_t kVoucherQueryError = -2147219004;

// The command text: the procedure's prefix, then the arguments in plain
// decimal digits joined by "," ("Exec sp_AO_Select_Received_GRV -5,2").
std::string VoucherQueryCommand(VoucherQuery query, int32_t first);
std::string VoucherQueryCommand(VoucherQuery query, int32_t first, int32_t second);
// The source text a failure of `query` is raised with.
const char* VoucherQuerySource(VoucherQuery query);

// Runs `command` for `query`. Any failure raises kVoucherQueryError with
// the query's source and the failure's description.
data::RecordSetRef RunVoucherQuery(VoucherQuery query, const std::string& command);

}  // namespace kvt::vouchers
