#include "db/demo_database.h"

#include <filesystem>
#include <string>

#include "db/embedded_sql.h"
#include "platform/data/connection.h"
#include "platform/data/postgres_dialect.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/connection_text.h"

namespace kvt::db {

namespace {

void RemoveDatabaseFiles(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::filesystem::remove(path + suffix, ignored);
  }
}

// One transaction per build: a failed script leaves no half-built data.
void RunInTransaction(data::Connection& connection, const std::string& sql) {
  connection.ExecuteScript("BEGIN");
  try {
    connection.ExecuteScript(sql);
    connection.ExecuteScript("COMMIT");
  } catch (...) {
    // The script's own failure is the one to report; a connection that is
    // gone has rolled back by itself.
    try {
      connection.ExecuteScript("ROLLBACK");
    } catch (const vb::Error&) {
    }
    throw;
  }
}

// Drops and makes anew the schema the connection works in.
constexpr char kResetPostgresSchema[] = R"sql(
DO $$
DECLARE
  target text := current_schema();
BEGIN
  IF target IS NULL THEN
    RAISE EXCEPTION 'the connection has no schema to build in';
  END IF;
  EXECUTE format('DROP SCHEMA %I CASCADE', target);
  EXECUTE format('CREATE SCHEMA %I', target);
  -- As the server's own public schema: every login may look in.
  EXECUTE format('GRANT USAGE ON SCHEMA %I TO PUBLIC', target);
END
$$;
)sql";

void Build(const std::string& path, bool with_demo_data) {
  RemoveDatabaseFiles(path);
  auto connection =
      data::Connection::Open(path, data::Connection::OpenMode::kCreate);
  BuildDatabase(*connection, with_demo_data);
}

}  // namespace

std::string ConnectionTextFor(const std::string& path) {
  return "Provider=SQLite;Data Source=" + services::QuoteConnectionValue(path);
}

void BuildDatabase(data::Connection& connection, bool with_demo_data) {
  std::string script;
  if (connection.GetBackend() == data::Backend::kPostgreSQL) {
    script = kResetPostgresSchema;
    script += PostgresPreludeSql();
    script += data::PortableToPostgres(SchemaSql());
    script += PostgresProceduresSql();
    if (with_demo_data) script += data::PortableToPostgres(DemoDataSql());
    script += PostgresFinishSql();
  } else {
    script = SchemaSql();
    script += ProceduresSql();
    if (with_demo_data) script += DemoDataSql();
  }
  RunInTransaction(connection, script);
}

void CreateDemoDatabaseFor(const std::string& connection_text) {
  const services::ConnectionText target =
      services::ParseConnectionText(connection_text);
  if (target.backend == data::Backend::kSQLite) {
    CreateDemoDatabase(target.path);
    return;
  }
  BuildDatabase(*services::OpenConnection(target), true);
}

void CreateEmptyDatabase(const std::string& path) { Build(path, false); }

void CreateDemoDatabase(const std::string& path) { Build(path, true); }

int32_t AddVolumeOrders(const std::string& path, int32_t line_count,
                        int32_t lines_per_order) {
  auto connection = data::Connection::Open(path);
  if (lines_per_order < 1) lines_per_order = 1;
  const int32_t order_count =
      (line_count + lines_per_order - 1) / lines_per_order;
  const int32_t first_order = vb::CLng(
      connection->Query("SELECT COALESCE(MAX(ID), 0) + 1 FROM PurchaseOrders")
          ->Item(0)
          .Value());
  connection->ExecuteScript("BEGIN");
  try {
    connection->Execute(
        "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n "
        "WHERE k + 1 < ?2) "
        "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, "
        "DateOrdered, Status, OurRef) "
        "SELECT ?1 + k, 1, 1, printf('PV%07d', ?1 + k), "
        "date('2026-01-01', '+' || (k % 300) || ' days'), 1, 'Volume' FROM n",
        {vb::Variant(first_order), vb::Variant(order_count)});
    connection->Execute(
        "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n "
        "WHERE k + 1 < ?2) "
        "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, "
        "LeadTime, Qty, BOQty, FreeQty, QtyReceived, UnitPrice, TradeDisc, "
        "RebateDisc, OtherDisc, NetAmount, TaxCodesID, Tax, TotalCost) "
        "SELECT ?1 + k / ?3, 1 + k % 10, 7, 10 + k % 7, k % 3, 0, k % 5, "
        "50.00, 0, 0, 0, 50.00 * (10 + k % 7), 1, "
        "ROUND(7.50 * (10 + k % 7), 2), ROUND(57.50 * (10 + k % 7), 2) FROM n",
        {vb::Variant(first_order), vb::Variant(line_count),
         vb::Variant(lines_per_order)});
    connection->ExecuteScript("COMMIT");
  } catch (...) {
    connection->ExecuteScript("ROLLBACK");
    throw;
  }
  return first_order;
}

}  // namespace kvt::db
