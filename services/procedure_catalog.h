// The procedures a database holds, whose bodies live in the database, not
// in the component: on SQLite in the table kvt_procedures, on PostgreSQL as
// functions of the connection's schema.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/data/connection.h"

namespace kvt::services {

struct StoredProcedure {
  std::string name;
  // One SQL statement; its input parameters are ?1..?n. On PostgreSQL, the
  // call of the function.
  std::string body;
  int parameter_count = 0;
  // Names of the output parameters, in order: the body's single row fills
  // them column by column. Empty for procedures that return a record set.
  std::vector<std::string> output_names;
  // Declared types of computed result columns.
  data::Connection::ColumnTypes column_types;
};

// The named procedure (name compared without regard to case), or nullopt
// when the database holds no such procedure or no catalogue at all. Names
// are looked up, never spliced into SQL.
// Raises what the connection raises for a closed connection, and 0x80040E14
// when the catalogue declares a column type it does not know.
std::optional<StoredProcedure> FindProcedure(data::Connection& connection, const std::string& name);

}  // namespace kvt::services
