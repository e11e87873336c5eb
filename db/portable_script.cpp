#include "db/portable_script.h"

#include "db/embedded_sql.h"
#include "platform/data/postgres_dialect.h"
#include "platform/value/error.h"

namespace kvt::db {

void PrepareForPortableScripts(data::Connection& connection) {
  if (connection.GetBackend() == data::Backend::kPostgreSQL) {
    connection.ExecuteScript(PostgresPreludeSql());
  }
}

void RunPortableScript(data::Connection& connection, const std::string& sql) {
  connection.ExecuteScript(
      connection.GetBackend() == data::Backend::kPostgreSQL ? data::PortableToPostgres(sql) : sql);
}

bool TryScript(data::Connection& connection, const std::string& script) {
  try {
    connection.RunInTransaction([&] { connection.ExecuteScript(script); });
  } catch (const vb::Error&) {
    return false;
  }
  return true;
}

}  // namespace kvt::db
