// Formula tester: the host's "eval" and "formula" commands, which let a
// user try an expression or a discount formula from the command line, and
// check every formula a database holds.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/value/locale.h"

namespace kvt::host {

// The subtotal formulas are checked on unless another is asked for.
inline constexpr double kSampleSubtotal = 1000;

// The regional settings a command evaluates under: `locale` for that
// command only, or the host's own when there is none.
using DisplayLocale = std::optional<vb::Locale>;

// Evaluates `expression` and prints one line: the value as CStr shows it
// ("Null" for Null, "Nothing" for an empty object reference, an array as
// the Array call that makes it), or "error N: description" when the
// engine raises. Returns 0, or 1 after an error.
int RunEvalCommand(const std::string& expression, std::ostream& out,
                   const DisplayLocale& locale = std::nullopt);

// Evaluates a discount formula the way an order line does, with X the
// subtotal `x` as currency text and no parameters; "0" is no formula and
// gives 0. Prints one line to `out`: the discount as currency text, or
// "error N: description". Writes a note to `err` for every name the
// formula reads that is not defined ("note: Y is not defined, VBScript
// reads it as Empty"). Returns 0, or 1 after an error.
int RunFormulaCommand(const std::string& formula, double x, std::ostream& out, std::ostream& err,
                      const DisplayLocale& locale = std::nullopt);

// Evaluates every formula of the DiscountFormulas table of the database
// `database` (an SQLite file's path or a connection text) on the subtotal `x`, as RunFormulaCommand
// would, and prints one line per formula and a summary. A formula has a problem when it fails,
// gives something other than a number, goes negative, exceeds the
// subtotal or reads names that are not defined. Returns 0 when none has a
// problem, 1 when any has or the table cannot be read.
int RunFormulaCheck(const std::string& database, double x, std::ostream& out,
                    const DisplayLocale& locale = std::nullopt);

// The "formula" command; `args` as the host received them, "formula" first,
// the options in any order:
//   formula "<formula>" [--x N]           RunFormulaCommand, with a note on
//                                         `err` when --x is missing (X is 0)
//   formula --check [--db DB] [--x N]     RunFormulaCheck on DB
//                                         (kvt-demo.sqlite), N (kSampleSubtotal)
// and with either, --locale NAME: the built-in regional settings NAME
// (regional_settings.h). Returns what the command returns, or 2 after
// printing a usage error.
int RunFormulaTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kvt::host
