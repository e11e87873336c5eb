#include "db/books_checks.h"

#include <string>

#include "db/embedded_sql.h"
#include "platform/data/postgres_dialect.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::db {

namespace {

constexpr char kSectionHeading[] = "-- ---- Books: what the database itself refuses";

// The books' section of `script`: from its heading to the end.
std::string Section(const char* script) {
  const std::string text = script;
  const size_t start = text.find(kSectionHeading);
  return start == std::string::npos ? std::string() : text.substr(start);
}

bool Holds(data::Connection& connection, const std::string& sql) {
  return vb::CLng(connection.Query(sql)->Item(0).Value()) > 0;
}

}  // namespace

bool AddBooksChecks(data::Connection& connection) {
  const bool sqlite = connection.GetBackend() == data::Backend::kSQLite;
  const bool has_triggers =
      sqlite ? Holds(connection,
                     "SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND "
                     "name = 'PurchaseOrderDetails_Bookable_Update'")
             : Holds(connection,
                     "SELECT COUNT(*) FROM information_schema.triggers WHERE trigger_schema = "
                     "current_schema() AND trigger_name = 'purchaseorderdetails_bookable'");
  if (!has_triggers) {
    connection.RunInTransaction([&] {
      connection.ExecuteScript(Section(sqlite ? ProceduresSql() : PostgresProceduresSql()));
    });
  }
  const bool has_index =
      sqlite ? Holds(connection,
                     "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                     "name = 'SupplierDocuments_Number'")
             : Holds(connection,
                     "SELECT COUNT(*) FROM pg_indexes WHERE schemaname = current_schema() AND "
                     "indexname = 'supplierdocuments_number'");
  if (has_index) return true;
  const std::string index = Section(SchemaSql());
  try {
    connection.RunInTransaction(
        [&] { connection.ExecuteScript(sqlite ? index : data::PortableToPostgres(index)); });
  } catch (const vb::Error&) {
    // Numbers booked twice before the index: kept as they are.
    return false;
  }
  return true;
}

}  // namespace kvt::db
