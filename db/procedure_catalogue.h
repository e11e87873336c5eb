// The SQLite catalogue of procedure bodies (kvt_procedures) kept to this
// build's: a database an earlier build made would otherwise go on answering
// with the bodies of that build (the outstanding lines' amounts, the orders
// a buyer closed).
#pragma once

#include "platform/data/connection.h"

namespace kvt::db {

// Puts this build's bodies into an SQLite database's catalogue when they
// differ from what it holds; writes nothing when they agree. False when they
// differ and could not be written (a database opened read-only, or one
// whose catalogue has other columns): the database is used as it is.
bool RefreshProcedureCatalogue(data::Connection& connection);

}  // namespace kvt::db
