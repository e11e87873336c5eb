#include "apps/kvt-host/posting/consignment_sale.h"

#include <string>

#include "apps/kvt-host/posting/refusal.h"
#include "apps/kvt-host/posting/source_lines.h"
#include "apps/kvt-host/posting/stock_movements.h"
#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/posting/write_transaction.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

void RecordConsignmentSale(data::Connection& connection, const ConsignmentSale& sale,
                           int attempts) {
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
      },
      attempts);
}

}  // namespace kvt::posting
