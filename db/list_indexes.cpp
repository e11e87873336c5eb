#include "db/list_indexes.h"

#include <string>

#include "db/embedded_sql.h"
#include "db/portable_script.h"
#include "platform/data/postgres_dialect.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::db {

namespace {

constexpr char kSectionHeading[] = "-- ---- Long histories";
constexpr char kNextHeading[] = "-- ---- Books";
// The server's list functions whose bodies page; their signatures are
// unchanged, so a new body replaces the old in place.
constexpr const char* kListFunctions[] = {"sp_AO_GRV_Select_Outstanding_Orders",
                                          "kvt_received_vouchers"};

std::string Between(const std::string& text, const std::string& start, const std::string& end) {
  const size_t from = text.find(start);
  if (from == std::string::npos) return {};
  const size_t to = text.find(end, from + start.size());
  return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

bool HasIndex(data::Connection& connection, bool sqlite, const std::string& index) {
  const char* sql = sqlite
                        ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?1"
                        : "SELECT COUNT(*) FROM pg_indexes WHERE schemaname = current_schema() AND "
                          "indexname = lower(?1)";
  return vb::CLng(connection.Query(sql, {vb::Variant(index)})->Item(0).Value()) > 0;
}

// An earlier build's partial index of the lines still to come named
// QtyReceived in its condition, so a server could update no line a receipt
// drew on in place; OrdersToCome answers what it did.
bool DropEarlierIndex(data::Connection& connection, bool sqlite) {
  constexpr char kIndex[] = "PurchaseOrderDetails_ToCome";
  if (!HasIndex(connection, sqlite, kIndex)) return true;
  return TryScript(connection, std::string("DROP INDEX IF EXISTS ") + kIndex + ";\n");
}

// An index an earlier build did not make, on `table` (a database without
// the table yet gets it with the table).
bool AddLaterIndex(data::Connection& connection, bool sqlite, const std::string& table,
                   const std::string& index, const std::string& columns) {
  const char* sql =
      sqlite ? "SELECT (SELECT COUNT(*) FROM sqlite_master WHERE name = ?1), "
               "(SELECT COUNT(*) FROM sqlite_master WHERE name = ?2)"
             : "SELECT (SELECT COUNT(*) FROM pg_tables WHERE schemaname = current_schema() AND "
               "tablename = lower(?1)), (SELECT COUNT(*) FROM pg_indexes WHERE schemaname = "
               "current_schema() AND indexname = lower(?2))";
  const data::RecordSetRef found = connection.Query(sql, {vb::Variant(table), vb::Variant(index)});
  if (vb::CLng(found->Item(0).Value()) == 0 || vb::CLng(found->Item(1).Value()) > 0) return true;
  return TryScript(connection, "CREATE INDEX IF NOT EXISTS " + index + " ON " + table + "(" +
                                   columns + ");\nANALYZE " + table + ";\n");
}

bool AddSection(data::Connection& connection, bool sqlite) {
  // One index stands for the section: it was added whole, or not at all.
  if (HasIndex(connection, sqlite, "PurchaseOrders_Dated")) return true;
  // The planner weighs the new indexes by their statistics: without them it
  // may walk a whole history through the wrong one.
  const std::string indexes = Between(SchemaSql(), kSectionHeading, kNextHeading) +
                              "ANALYZE PurchaseOrders;\nANALYZE PurchaseOrderDetails;\n"
                              "ANALYZE GRVs;\n";
  if (sqlite) return TryScript(connection, indexes);
  std::string script = data::PortableToPostgres(indexes);
  const std::string functions = PostgresProceduresSql();
  for (const char* name : kListFunctions) {
    script +=
        Between(functions, std::string("CREATE OR REPLACE FUNCTION ") + name, "$$;") + "$$;\n";
  }
  return TryScript(connection, script);
}

}  // namespace

bool AddListIndexes(data::Connection& connection) {
  const bool sqlite = connection.GetBackend() == data::Backend::kSQLite;
  const bool audit = AddLaterIndex(connection, sqlite, "AuditTrail", "AuditTrail_At", "At");
  const bool series =
      AddLaterIndex(connection, sqlite, "GRVs", "GRVs_Series",
                    "CompanyID, substr(VoucherNumber, 1, 3), length(VoucherNumber), VoucherNumber");
  const bool dropped = DropEarlierIndex(connection, sqlite);
  return AddSection(connection, sqlite) && audit && series && dropped;
}

}  // namespace kvt::db
