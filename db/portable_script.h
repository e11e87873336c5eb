// Scripts written once for both backends (the dialect of
// platform/data/postgres_dialect.h), run on either.
#pragma once

#include <string>

#include "platform/data/connection.h"

namespace kvt::db {

// Gets an empty database ready for such scripts: on PostgreSQL, the
// CURRENCY and DATETIME domains, the NOCASE collation and ROUND of a double
// in the connection's schema; nothing on SQLite.
void PrepareForPortableScripts(data::Connection& connection);

// Runs `sql`, written in the shared dialect, on the connection's backend.
// Raises as Connection::ExecuteScript does.
void RunPortableScript(data::Connection& connection, const std::string& sql);

}  // namespace kvt::db
