#include "db/procedure_catalogue.h"

#include <string>

#include "db/embedded_sql.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::db {

namespace {

constexpr char kBooksHeading[] = "-- ---- Books: what the database itself refuses";
constexpr char kInsert[] = "INSERT INTO kvt_procedures ";

// The catalogue's rows of this build: the script up to the books' triggers,
// written into a table of this connection alone, so comparing takes no
// lock on the database.
std::string ExpectedRowsScript() {
  std::string script = ProceduresSql();
  script = script.substr(0, script.find(kBooksHeading));
  for (size_t at = script.find(kInsert); at != std::string::npos; at = script.find(kInsert, at)) {
    script.replace(at, sizeof kInsert - 1, "INSERT INTO temp.kvt_procedures_expected ");
  }
  return script;
}

bool Differ(data::Connection& connection) {
  const char* kRowsMissing =
      "SELECT COUNT(*) FROM (SELECT * FROM temp.kvt_procedures_expected "
      "EXCEPT SELECT * FROM main.kvt_procedures)";
  const char* kRowsExtra =
      "SELECT COUNT(*) FROM (SELECT * FROM main.kvt_procedures "
      "EXCEPT SELECT * FROM temp.kvt_procedures_expected)";
  return vb::CLng(connection.Query(kRowsMissing)->Item(0).Value()) > 0 ||
         vb::CLng(connection.Query(kRowsExtra)->Item(0).Value()) > 0;
}

}  // namespace

bool RefreshProcedureCatalogue(data::Connection& connection) {
  if (connection.GetBackend() != data::Backend::kSQLite) return true;
  bool refreshed = true;
  try {
    // The catalogue's own definition, defaults included, for the copy.
    std::string definition = vb::CStr(
        connection.Query("SELECT sql FROM main.sqlite_master WHERE name = 'kvt_procedures'")
            ->Item(0)
            .Value());
    const std::string kCreate = "CREATE TABLE kvt_procedures";
    if (definition.compare(0, kCreate.size(), kCreate) != 0) return false;
    definition.replace(0, kCreate.size(), "CREATE TEMP TABLE kvt_procedures_expected");
    connection.ExecuteScript("DROP TABLE IF EXISTS temp.kvt_procedures_expected;");
    connection.ExecuteScript(definition);
    connection.ExecuteScript(ExpectedRowsScript());
    if (Differ(connection)) {
      connection.RunInTransaction([&] {
        connection.ExecuteScript(
            "DELETE FROM main.kvt_procedures;"
            "INSERT INTO main.kvt_procedures SELECT * FROM temp.kvt_procedures_expected;");
      });
    }
  } catch (const vb::Error&) {
    refreshed = false;
  }
  try {
    connection.ExecuteScript("DROP TABLE IF EXISTS temp.kvt_procedures_expected;");
  } catch (const vb::Error&) {
  }
  return refreshed;
}

}  // namespace kvt::db
