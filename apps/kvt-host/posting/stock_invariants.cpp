#include "apps/kvt-host/posting/stock_invariants.h"

#include <string_view>

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/refusal.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

namespace {

// Each rule selects the rows that break it: a key first, then the figures
// that show the breach (returns of a 19 line are 20s, of a 31 line 32s).
// Subqueries are wrapped so that the conditions can name the computed figures
// on every backend; ?1 is the slack of a quantity. A drawn line's discounts
// are judged against its source's rates (of price times quantity, then of
// what the earlier discounts leave) applied to its own sub total, within a
// cent and the reach of a rate kept to two decimals of a percent. A voucher
// a server has posted but not yet numbered ("~...") moves the stock figures
// and joins its series when it takes its number, and is judged from then.
struct Rule {
  const char* what;
  const char* sql;
};

constexpr Rule kRules[] = {
    {"consignment line",
     "SELECT gd.ID, gd.Qty AS received, COALESCE(gd.QtySold, 0) AS sold, "
     "COALESCE(gd.QtyReturned, 0) AS returned, gd.QtyLeft AS qty_left "
     "FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID "
     "WHERE g.TranTypeID = 31 AND gd.QtyLeft IS NOT NULL AND (gd.QtyLeft < "
     "-?1 OR ABS(gd.Qty - COALESCE(gd.QtySold, 0) - "
     "COALESCE(gd.QtyReturned, 0) - gd.QtyLeft) > ?1) ORDER BY gd.ID"},
    {"product",
     "SELECT * FROM (SELECT p.ID, COALESCE(p.StockOnHand, 0) AS on_hand, "
     "COALESCE((SELECT SUM(m.Qty) FROM StockMovements m WHERE m.ProductID = "
     "p.ID AND m.Consignment = FALSE AND NOT EXISTS (SELECT 1 FROM GRVs g WHERE g.ID = "
     "m.GRVID AND g.VoucherNumber LIKE '~%')), 0) AS owned_movements, "
     "p.ConsignmentStock AS consignment, COALESCE((SELECT SUM(m.Qty) FROM "
     "StockMovements m WHERE m.ProductID = p.ID AND m.Consignment = TRUE AND NOT "
     "EXISTS (SELECT 1 FROM GRVs g WHERE g.ID = m.GRVID AND g.VoucherNumber LIKE '~%')), 0) "
     "AS consignment_movements FROM Products p) x WHERE ABS(on_hand - "
     "owned_movements) > ?1 OR ABS(consignment - "
     "consignment_movements) > ?1 ORDER BY ID"},
    {"order line",
     "SELECT * FROM (SELECT d.ID, COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) "
     "AS ordered, d.QtyReceived AS received, COALESCE((SELECT SUM(gd.Qty) "
     "FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE "
     "gd.SourceLineID = d.ID AND g.TranTypeID IN (19, 31)), 0) AS receipts "
     "FROM PurchaseOrderDetails d) x WHERE received > ordered + ?1 OR "
     "ABS(received - receipts) > ?1 ORDER BY ID"},
    {"received line",
     "SELECT * FROM (SELECT gd.ID, gd.Qty AS received, "
     "COALESCE(gd.QtyReturned, 0) AS returned, COALESCE((SELECT SUM(r.Qty) "
     "FROM GRVDetails r JOIN GRVs rg ON rg.ID = r.GRVID WHERE "
     "r.SourceLineID = gd.ID AND rg.TranTypeID = g.TranTypeID + 1), 0) "
     "AS returns, "
     "COALESCE(gd.QtySold, 0) AS sold, COALESCE((SELECT -SUM(m.Qty) FROM "
     "StockMovements m WHERE m.GRVDetailID = gd.ID AND m.MovementType = 1), "
     "0) AS sales FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE "
     "g.TranTypeID IN (19, 31)) x WHERE returned > received + ?1 OR "
     "ABS(returned - returns) > ?1 OR ABS(sold - sales) > ?1 "
     "ORDER BY ID"},
    {"drawn line",
     "WITH src AS (SELECT 0 AS returned, ID, TradeDisc AS t, RebateDisc AS r, "
     "OtherDisc AS o, COALESCE(UnitPrice * (COALESCE(Qty, 0) + COALESCE(BOQty, "
     "0)), 0) AS s FROM PurchaseOrderDetails UNION ALL SELECT 1, ID, TradeDisc, "
     "RebateDisc, OtherDisc, COALESCE(UnitPrice * Qty, 0) FROM GRVDetails), "
     "drawn AS (SELECT gd.ID, gd.TradeDisc AS dt, gd.RebateDisc AS dr, "
     "gd.OtherDisc AS dd, COALESCE(gd.UnitPrice * gd.Qty, 0) AS ds, src.t, src.r, src.o, "
     "src.s FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID JOIN src ON "
     "src.ID = gd.SourceLineID AND src.returned = CASE WHEN g.TranTypeID IN "
     "(20, 32) THEN 1 ELSE 0 END) "
     "SELECT * FROM (SELECT ID, dt AS trade, COALESCE(t * ds / NULLIF(s, 0), 0) "
     "AS trade_at_rate, dr AS rebate, COALESCE(r * (ds - dt) / NULLIF(s - t, 0), "
     "0) AS rebate_at_rate, dd AS other, COALESCE(o * (ds - dt - dr) / "
     "NULLIF(s - t - r, 0), 0) AS other_at_rate, 0.01 + ABS(ds) * 0.00005 AS "
     "slack FROM drawn) x WHERE ABS(trade - trade_at_rate) > slack OR "
     "ABS(rebate - rebate_at_rate) > slack OR ABS(other - other_at_rate) > "
     "slack ORDER BY ID"},
    {"voucher series",
     "SELECT * FROM (SELECT TranTypeID, CompanyID AS company, COUNT(*) AS "
     "vouchers, COUNT(DISTINCT VoucherNumber) AS numbers, MAX(CAST(SUBSTR("
     "VoucherNumber, 4) AS INTEGER)) - MIN(CAST(SUBSTR(VoucherNumber, 4) AS "
     "INTEGER)) + 1 AS span FROM GRVs WHERE VoucherNumber NOT LIKE '~%' "
     "GROUP BY TranTypeID, CompanyID) x WHERE "
     "numbers <> vouchers OR span <> vouchers ORDER BY TranTypeID, company"},
    {"supplier document",
     "SELECT * FROM (SELECT sd.ID, sd.Amount AS amount, (SELECT "
     "COALESCE(SUM(gd.TotalCost), 0) FROM GRVDetails gd WHERE gd.GRVID = "
     "sd.GRVID) AS voucher_total FROM SupplierDocuments sd) x WHERE "
     "ABS(amount - voucher_total) > 0.00005 ORDER BY ID"},
    {"supplier document number",
     "SELECT MIN(ID) AS ID, COUNT(*) AS documents FROM SupplierDocuments GROUP BY "
     "SupplierID, DocType, DocNumber HAVING COUNT(*) > 1 ORDER BY 1"},
};

std::string Describe(const char* what, const data::RecordSet& row) {
  std::string text = std::string(what) + " " + vb::CStr(row.Item(0).Value());
  for (int i = 1; i < row.Fields().Count(); ++i) {
    const vb::Variant value = row.Item(i).Value();
    text += (i == 1 ? ": " : ", ") + row.Item(i).Name() + " " +
            (value.IsNull() ? std::string("Null") : QtyText(vb::CDbl(value)));
  }
  return text;
}

}  // namespace

std::vector<std::string> StockInvariantBreaches(data::Connection& connection) {
  std::vector<std::string> breaches;
  for (const Rule& rule : kRules) {
    const bool with_slack = std::string_view(rule.sql).find("?1") != std::string_view::npos;
    auto rows = with_slack ? connection.Query(rule.sql, {vb::Variant(kQtySlack)})
                           : connection.Query(rule.sql);
    for (; !rows->IsEOF(); rows->MoveNext()) {
      breaches.push_back(Describe(rule.what, *rows));
    }
  }
  return breaches;
}

}  // namespace kvt::posting
