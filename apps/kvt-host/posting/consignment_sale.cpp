#include "apps/kvt-host/posting/consignment_sale.h"

#include <string>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/posting/server_posting.h"
#include "apps/kvt-host/posting/source_lines.h"
#include "apps/kvt-host/posting/stock_movements.h"
#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/posting/write_transaction.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

void RecordConsignmentSale(data::Connection& connection, const ConsignmentSale& sale,
                           int attempts) try {
  const access::UserAccess access = access::UserAccess::Of(connection);
  access.Require(connection, access::Action::kPostVoucher, "consignment sale", sale.company_id);
  if (ServerPosts(connection)) {
    SellOnServer(connection, sale, attempts);
    return;
  }
  RunInWriteTransaction(
      connection,
      [&] {
        auto voucher = connection.Query(
            "SELECT g.ID, g.VoucherNumber FROM GRVDetails gd JOIN GRVs g ON "
            "g.ID = gd.GRVID WHERE gd.ID = ?1 AND g.TranTypeID = ?2 AND "
            "g.CompanyID = ?3",
            {vb::Variant(sale.consignment_line_id), vb::Variant(kConsignmentReceived),
             vb::Variant(sale.company_id)});
        if (voucher->IsEOF()) {
          Refuse("Line " + std::to_string(sale.consignment_line_id) +
                 " is not a consignment line of the company.");
        }
        DrawOnLine(connection, Draw::kSellConsignment,
                   {sale.consignment_line_id, vb::CLng(voucher->Item(0).Value()), 0, sale.qty,
                    "The sale", "voucher " + vb::CStr(voucher->Item(1).Value())});
        MoveSoldStock(connection, sale.consignment_line_id, sale.qty, sale.date, sale.user_id);
        connection.Execute("UPDATE GRVDetails SET SoldOn = ?1 WHERE ID = ?2",
                           {vb::Variant(sale.date), vb::Variant(sale.consignment_line_id)});
        access::Audit(
            connection, access.User(),
            {sale.company_id, "consignment sold", "voucher " + vb::CStr(voucher->Item(1).Value()),
             "line " + std::to_string(sale.consignment_line_id) + ", qty " +
                 vb::CStr(vb::Variant(sale.qty))});
      },
      attempts);
} catch (const data::PermissionDenied& denied) {
  // The database's own check, where the host's was passed by.
  access::RaiseRefusal(connection, access::UserAccess::Of(connection).User(), denied,
                       {sale.company_id, "consignment sold", "consignment sale", ""});
}

}  // namespace kvt::posting
