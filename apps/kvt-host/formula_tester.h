// Formula tester: the host's "eval" and "formula" commands, which let a
// user try an expression or a discount formula from the command line.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Evaluates `expression` and prints one line: the value as CStr shows it
// ("Null" for Null, "Nothing" for an empty object reference), or
// "error N: description" when the engine raises. Returns 0, or 1 after an
// error.
int RunEvalCommand(const std::string& expression, std::ostream& out);

// Evaluates a discount formula the way an order line does, with X the
// subtotal `x` as currency text and no parameters; "0" is no formula and
// gives 0. Prints one line: the discount as currency text, or
// "error N: description". Returns 0, or 1 after an error.
int RunFormulaCommand(const std::string& formula, double x, std::ostream& out);

}  // namespace kvt::host
