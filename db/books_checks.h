// The books' own checks in the database (the section of each script
// headed "Books: what the database itself refuses"): triggers that refuse
// order lines the books cannot hold, and one supplier document number per
// supplier and kind.
#pragma once

#include "platform/data/connection.h"

namespace kvt::db {

// Adds the checks to a database an earlier build made without them; a
// database that has them is left alone. False when some could not be added
// (the login may not change the schema, or documents already share a
// number): the database is opened as it is, and the host's own checks
// still refuse what the missing ones would.
bool AddBooksChecks(data::Connection& connection);

}  // namespace kvt::db
