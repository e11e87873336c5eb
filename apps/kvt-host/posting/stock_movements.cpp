#include "apps/kvt-host/posting/stock_movements.h"

#include <string>

#include "apps/kvt-host/posting/write_transaction.h"

namespace kvt::posting {

namespace {

// Movement type of a consignment sale (vouchers use their own type).
constexpr int32_t kSaleMovement = 1;

const char* StockColumn(bool consignment) {
  return consignment ? "ConsignmentStock" : "StockOnHand";
}

}  // namespace

void MoveVoucherStock(data::Connection& connection, int32_t voucher_id, const VoucherKind& kind) {
  // Constants are spelled into the text rather than bound: a server
  // database cannot type a bare parameter in a select list.
  connection.Execute(std::string("INSERT INTO StockMovements (CompanyID, ProductID, "
                                 "Consignment, Qty, MovementType, GRVID, GRVDetailID, "
                                 "MovementDate, UserID) SELECT g.CompanyID, gd.ProductID, ") +
                         (kind.consignment ? "TRUE" : "FALSE") + ", " +
                         (kind.IsReturn() ? "-gd.Qty" : "gd.Qty") +
                         ", g.TranTypeID, g.ID, gd.ID, g.DateReceived, g.UserID FROM "
                         "GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID WHERE g.ID = ?1 "
                         "ORDER BY gd.ID",
                     {vb::Variant(voucher_id)});
  // On a server, the products in key order: two postings that share
  // products lock them in the same order, so neither waits for a row the
  // other will only free when it is done.
  if (connection.GetBackend() != data::Backend::kSQLite) {
    connection.Query(std::string("SELECT ID FROM Products WHERE ID IN (SELECT "
                                 "m.ProductID FROM StockMovements m WHERE "
                                 "m.GRVID = ?1) ORDER BY ID") +
                         RowLock(connection),
                     {vb::Variant(voucher_id)});
  }
  const std::string column = StockColumn(kind.consignment);
  connection.Execute("UPDATE Products SET " + column + " = COALESCE(" + column +
                         ", 0) + (SELECT SUM(m.Qty) FROM StockMovements m WHERE m.GRVID = "
                         "?1 AND m.ProductID = Products.ID) WHERE ID IN (SELECT m.ProductID "
                         "FROM StockMovements m WHERE m.GRVID = ?1)",
                     {vb::Variant(voucher_id)});
}

void MoveSoldStock(data::Connection& connection, int32_t line_id, double qty, const vb::Date& date,
                   int32_t user_id) {
  connection.Execute(
      "INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, "
      "MovementType, GRVID, GRVDetailID, MovementDate, UserID) VALUES ("
      "(SELECT g.CompanyID FROM GRVs g JOIN GRVDetails gd ON gd.GRVID = g.ID "
      "WHERE gd.ID = ?1), (SELECT ProductID FROM GRVDetails WHERE ID = ?1), "
      "TRUE, ?2, ?3, (SELECT GRVID FROM GRVDetails WHERE ID = ?1), ?1, ?4, "
      "?5)",
      {vb::Variant(line_id), vb::Variant(-qty), vb::Variant(kSaleMovement), vb::Variant(date),
       user_id == 0 ? vb::Variant::Null() : vb::Variant(user_id)});
  connection.Execute(
      "UPDATE Products SET ConsignmentStock = ConsignmentStock - ?1 WHERE ID "
      "= (SELECT ProductID FROM GRVDetails WHERE ID = ?2)",
      {vb::Variant(qty), vb::Variant(line_id)});
}

}  // namespace kvt::posting
