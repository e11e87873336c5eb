// The orders still open for receiving with lines that have goods to come
// (orders_to_come*.sql): the table, the triggers that keep it, and what an
// earlier build's database needs to have them.
#pragma once

#include "platform/data/connection.h"

namespace kvt::db {

// This backend's script of the table and its triggers.
const char* OrdersToComeScript(data::Backend backend);

// Fills the table afresh from the orders as they are, for a load that ran
// without the triggers.
void FillOrdersToCome(data::Connection& connection);

// Adds the table and its triggers to a database that lacks them (or has
// an earlier build's triggers), filled
// from the orders as they are, and on a server puts in this build's body
// of the function that lists a supplier's orders to receive against. All
// of it or nothing, in one transaction; writes nothing when they are there
// already. False when they could not be added (a login that may not change
// the schema, a read-only file): the goods received page then lists as the
// earlier build did.
bool AddOrdersToCome(data::Connection& connection);

}  // namespace kvt::db
