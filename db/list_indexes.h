// What lets the lists read one page of a long history (the section of
// schema.sql headed "Long histories", and on a server the list functions
// that use it), the audit trail's index of times and the voucher series'
// index: added to a database an earlier build made.
#pragma once

#include "platform/data/connection.h"

namespace kvt::db {

// Adds the indexes a database lacks and, on PostgreSQL, puts in this
// build's bodies of the list functions that page. Writes nothing that is
// there already. False when something could not be added (a login that
// may not change the schema, a read-only file): the lists still answer
// the same, only slower.
bool AddListIndexes(data::Connection& connection);

}  // namespace kvt::db
