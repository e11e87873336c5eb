#include "db/orders_to_come.h"

#include <string>

#include "db/embedded_sql.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::db {

namespace {

// The function that reads the table, from this build's server procedures.
constexpr char kListFunction[] = "CREATE OR REPLACE FUNCTION sp_AO_GRV_Select_Outstanding_Orders";

// Every order open for receiving with lines to come, as the triggers would
// have kept it.
constexpr char kFill[] =
    "INSERT INTO OrdersToCome (PurchaseOrderID, SupplierID, CompanyID, Lines) "
    "SELECT po.ID, po.SupplierID, po.CompanyID, COUNT(*) "
    "FROM PurchaseOrders po JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID "
    "WHERE po.Status = 1 AND d.QtyReceived < COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) "
    "GROUP BY po.ID, po.SupplierID, po.CompanyID";

// The trigger this build added last: a database with it has them all as
// this build writes them.
bool HasTriggers(data::Connection& connection, bool sqlite) {
  const std::string sql =
      sqlite ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND "
               "name = 'OrdersToCome_LineMoved'"
             : "SELECT COUNT(*) FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid "
               "WHERE c.relnamespace = current_schema()::regnamespace AND "
               "t.tgname = 'orderstocome_linechanged'";
  return vb::CLng(connection.Query(sql)->Item(0).Value()) > 0;
}

std::string ListFunction() {
  const std::string functions = PostgresProceduresSql();
  const size_t from = functions.find(kListFunction);
  if (from == std::string::npos) return {};
  const size_t to = functions.find("$$;", functions.find("$$", from) + 2);
  return functions.substr(from, to + 3 - from) + "\n";
}

}  // namespace

const char* OrdersToComeScript(data::Backend backend) {
  return backend == data::Backend::kSQLite ? OrdersToComeSql() : OrdersToComePostgresSql();
}

void FillOrdersToCome(data::Connection& connection) {
  connection.Execute("DELETE FROM OrdersToCome");
  connection.Execute(kFill);
  connection.ExecuteScript("ANALYZE OrdersToCome");
}

bool AddOrdersToCome(data::Connection& connection) {
  const bool sqlite = connection.GetBackend() == data::Backend::kSQLite;
  if (HasTriggers(connection, sqlite)) return true;
  try {
    connection.RunInTransaction([&] {
      connection.ExecuteScript(OrdersToComeScript(connection.GetBackend()));
      FillOrdersToCome(connection);
      if (!sqlite) connection.ExecuteScript(ListFunction());
    });
  } catch (const vb::Error&) {
    return false;
  }
  return true;
}

}  // namespace kvt::db
