// The books' own checks in the database (the section of each script
// headed "Books: what the database itself refuses"): triggers that refuse
// order lines the books cannot hold, and one supplier document number per
// supplier and kind.
#pragma once

#include "platform/data/connection.h"

namespace kvt::db {

// Adds the checks to a database an earlier build made without them, in one
// transaction; a database that has them is left alone. When documents
// already share a number there, the index is left out (the host's posting
// still refuses a number used before) and false is returned.
bool AddBooksChecks(data::Connection& connection);

}  // namespace kvt::db
