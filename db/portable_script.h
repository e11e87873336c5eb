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

// Runs `script` (in the backend's own dialect) in one transaction; false,
// with nothing of it left, when it fails: what a database that may not be
// changed, or holds what a new check refuses, is left without.
bool TryScript(data::Connection& connection, const std::string& script);

}  // namespace kvt::db
