#include "apps/kvt-host/posting/stock_invariants.h"

#include "apps/kvt-host/posting/refusal.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

namespace {

// Each rule selects the rows that break it: a key first, then the figures
// that show the breach (returns of a 19 line are 20s, of a 31 line 32s).
// Subqueries are wrapped so that the conditions can name the computed figures
// on every backend.
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
     "-0.000001 OR ABS(gd.Qty - COALESCE(gd.QtySold, 0) - "
     "COALESCE(gd.QtyReturned, 0) - gd.QtyLeft) > 0.000001) ORDER BY gd.ID"},
    {"product",
     "SELECT * FROM (SELECT p.ID, COALESCE(p.StockOnHand, 0) AS on_hand, "
     "COALESCE((SELECT SUM(m.Qty) FROM StockMovements m WHERE m.ProductID = "
     "p.ID AND m.Consignment = FALSE), 0) AS owned_movements, "
     "p.ConsignmentStock AS consignment, COALESCE((SELECT SUM(m.Qty) FROM "
     "StockMovements m WHERE m.ProductID = p.ID AND m.Consignment = TRUE), 0) "
     "AS consignment_movements FROM Products p) x WHERE ABS(on_hand - "
     "owned_movements) > 0.000001 OR ABS(consignment - "
     "consignment_movements) > 0.000001 ORDER BY ID"},
    {"order line",
     "SELECT * FROM (SELECT d.ID, COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) "
     "AS ordered, d.QtyReceived AS received, COALESCE((SELECT SUM(gd.Qty) "
     "FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE "
     "gd.SourceLineID = d.ID AND g.TranTypeID IN (19, 31)), 0) AS receipts "
     "FROM PurchaseOrderDetails d) x WHERE received > ordered + 0.000001 OR "
     "ABS(received - receipts) > 0.000001 ORDER BY ID"},
    {"received line",
     "SELECT * FROM (SELECT gd.ID, gd.Qty AS received, "
     "COALESCE(gd.QtyReturned, 0) AS returned, COALESCE((SELECT SUM(r.Qty) "
     "FROM GRVDetails r JOIN GRVs rg ON rg.ID = r.GRVID WHERE "
     "r.SourceLineID = gd.ID AND rg.TranTypeID = g.TranTypeID + 1), 0) "
     "AS returns, "
     "COALESCE(gd.QtySold, 0) AS sold, COALESCE((SELECT -SUM(m.Qty) FROM "
     "StockMovements m WHERE m.GRVDetailID = gd.ID AND m.MovementType = 1), "
     "0) AS sales FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE "
     "g.TranTypeID IN (19, 31)) x WHERE returned > received + 0.000001 OR "
     "ABS(returned - returns) > 0.000001 OR ABS(sold - sales) > 0.000001 "
     "ORDER BY ID"},
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
    auto rows = connection.Query(rule.sql);
    for (; !rows->IsEOF(); rows->MoveNext()) {
      breaches.push_back(Describe(rule.what, *rows));
    }
  }
  return breaches;
}

}  // namespace kvt::posting
