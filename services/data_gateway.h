// DataGateway — the suite's data service: opens connections from the
// shared connection text and runs the procedures the database holds.
//
// Command texts are parsed, never executed as SQL: "Exec name 1,7" (or
// "name 1,7") names a procedure of the database's catalogue and its numbers
// are bound as the procedure's parameters. Anything else is refused and
// nothing runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/connection.h"
#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt::services {

// Directions as the platform numbers them (adParamInput = 1, ...).
enum class ParameterDirection : int {
  kInput = 1,
  kOutput = 2,
  kInputOutput = 3,
};

// One procedure parameter, passed by reference: `value` is the caller's
// own variable, read for input and written for output. The caller keeps it
// alive for the call.
struct ProcedureParameter {
  ParameterDirection direction;
  vb::Variant* value;

  static ProcedureParameter In(vb::Variant& value) { return {ParameterDirection::kInput, &value}; }
  static ProcedureParameter Out(vb::Variant& value) {
    return {ParameterDirection::kOutput, &value};
  }
  static ProcedureParameter InOut(vb::Variant& value) {
    return {ParameterDirection::kInputOutput, &value};
  }
};

class DataGateway {
 public:
  // Opens a new connection to the database the connection text names
  // ("Provider=SQLite;Data Source=/path/db.sqlite"). `connect_option` and
  // `mode` (callers pass -1 and 3) select nothing here: every connection is
  // read-write and synchronous. A missing database file is an error, never
  // a new empty database: raises 0x80004005 with the engine's message, 3706
  // for another provider, 3001 without a data source.
  data::ConnectionRef OpenConnection(const std::string& connection_text, int32_t connect_option,
                                     int32_t mode);

  // Runs a procedure call command text and returns its first result as a
  // record set positioned on its first row (BOF and EOF when empty), fully
  // read, so it stays readable after the connection is released.
  // `cursor_type` 0 (forward-only) gives a set whose RecordCount is -1;
  // callers pass 1, 3, 3 (keyset cursor, optimistic lock, client location).
  // `status` is set to 0 on success and to the error number before raising.
  // Raises kCommandRefused (0x80040E14) when the text is no procedure call,
  // names no procedure of the database or passes the wrong number of
  // arguments, and nothing is run; 91 for no connection, 3704 for a closed
  // one; the engine's own errors (0x80040E14) when the body fails.
  data::RecordSetRef OpenRecordset(const std::string& command_text, int32_t cursor_type,
                                   int32_t lock_type, int32_t options,
                                   data::ConnectionRef& connection, int32_t& status);

  // Runs the named procedure with the input (and in-out) parameters bound
  // in order as ?1..?n, then fills the output (and in-out) parameters in
  // order from the columns of the body's first row (Null each when the body
  // returns no row). `options` (callers pass 1) selects nothing. Raises
  // kCommandRefused, before running anything, for a name that is not a
  // plain name or not in the catalogue, and when the numbers of inputs or
  // outputs differ from the procedure's; other errors as OpenRecordset.
  void RunProcedure(const std::string& procedure_name, data::ConnectionRef& connection,
                    int32_t options, std::vector<ProcedureParameter>& parameters, int32_t& status);
};

}  // namespace kvt::services
