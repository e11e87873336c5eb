// Reading the command texts the component sends to the database.
//
// The only commands the gateway runs are calls of procedures that the
// database holds: "Exec name 1,7" or "name 1,7". Arguments are plain
// decimal numbers ("-" for negatives) separated by ","; they are bound as
// parameters, never spliced into SQL.
#pragma once

#include <string>
#include <vector>

#include "platform/value/variant.h"

namespace kvt::services {

// Number of the error raised for a command text the gateway refuses
// (0x80040E14, the provider's "errors in command").
inline constexpr int32_t kCommandRefused = -2147217900;

struct ProcedureCall {
  std::string name;
  // Whole numbers as Long (Double beyond 32 bits), numbers with decimals as
  // Double.
  std::vector<vb::Variant> arguments;
};

// Reads "[Exec|Execute ]name[ arg[,arg]...]". Blanks around the text and
// around the commas are tolerated. Raises kCommandRefused with the
// description "The command text is not a procedure call." for anything
// else: SQL statements, a second statement after ";", quotes, names with
// other characters than letters, digits and "_", arguments that are no
// plain number.
ProcedureCall ParseProcedureCall(const std::string& text);

// True for a name made of letters, digits and "_" that does not begin with
// a digit: the only procedure names the gateway looks up.
bool IsProcedureName(const std::string& name);

}  // namespace kvt::services
