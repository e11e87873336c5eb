// The subtype of each binary operator's result, for every pair of operand
// subtypes, as the language defines it. The operators compute in the
// subtype this table gives and widen only where a result overflows it
// (Byte -> Integer -> Long -> Double, Single -> Double).
#pragma once

#include <cstdint>

#include "platform/value/variant.h"

namespace kvt::script {

// Operators that share one row of the table.
enum class OperatorFamily : uint8_t {
  kAdd,            // +
  kSubtract,       // -
  kMultiply,       // *
  kDivide,         // /
  kWholeDivision,  // \ and Mod
  kPower,          // ^
  kConcat,         // &
  kLogical,        // And, Or, Xor, Eqv, Imp
};

// The result's subtype for operands of subtypes `a` and `b`: Null where
// the result is Null (for the logical operators, unless the other operand
// decides it), String where "+" concatenates. Objects and arrays have no
// entry: as operands they raise before the table is read; ResultType gives
// Empty for them.
vb::VarType ResultType(OperatorFamily family, vb::VarType a, vb::VarType b);

}  // namespace kvt::script
