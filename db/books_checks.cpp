#include "db/books_checks.h"

#include <string>

#include "db/embedded_sql.h"
#include "db/portable_script.h"
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
             // The catalogue, which every login may read (the information
             // schema shows a reader no triggers).
             : Holds(connection,
                     "SELECT COUNT(*) FROM pg_trigger t JOIN pg_class c ON c.oid = t.tgrelid "
                     "WHERE c.relnamespace = current_schema()::regnamespace AND "
                     "t.tgname = 'purchaseorderdetails_bookable_update'");
  bool complete = true;
  if (!has_triggers) {
    complete = TryScript(connection, Section(sqlite ? ProceduresSql() : PostgresProceduresSql()));
  }
  const bool has_index =
      sqlite ? Holds(connection,
                     "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                     "name = 'SupplierDocuments_Number'")
             : Holds(connection,
                     "SELECT COUNT(*) FROM pg_indexes WHERE schemaname = current_schema() AND "
                     "indexname = 'supplierdocuments_number'");
  if (has_index) return complete;
  const std::string index = Section(SchemaSql());
  return TryScript(connection, sqlite ? index : data::PortableToPostgres(index)) && complete;
}

}  // namespace kvt::db
