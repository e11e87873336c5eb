// The language's operators on Variants.
//
// Common rules: Null in an arithmetic, comparison or bitwise operand makes
// the result Null (the logical exceptions are noted at each function);
// Empty is 0 to numbers and "" to text; text meets numbers by conversion
// through the active locale (13, Type mismatch, when it is no number).
// Whole-number subtypes widen instead of overflowing: Byte -> Integer ->
// Long -> Double. A Date plus or minus a number is a Date (6 outside the
// years 100 to 9999), a Date minus a Date a Double. Objects raise 91
// (Nothing) or 438 as operands.
#pragma once

#include <cstdint>

#include "platform/script/string_budget.h"
#include "platform/value/variant.h"

namespace kvt::script {

// "+": two texts concatenate (charged to `budget`, 7 beyond it); otherwise
// the sum in the wider subtype of the two (Byte < Integer < Long < Single
// < Double < Currency; Single with Long gives Double). Raises 6 when a
// Double or Currency sum overflows.
vb::Variant Add(const vb::Variant& a, const vb::Variant& b, StringBudget& budget);
// "-" and "*", with the subtype rule of Add (a Date times anything is a
// Double).
vb::Variant Subtract(const vb::Variant& a, const vb::Variant& b);
vb::Variant Multiply(const vb::Variant& a, const vb::Variant& b);
// "/": a Double (a Single when no operand is wider than Single and one is
// Single). Raises 11 for a zero divisor, 6 for 0/0 and on overflow.
vb::Variant Divide(const vb::Variant& a, const vb::Variant& b);
// "\" and "Mod": both operands are first rounded half to even to whole
// numbers (6 beyond the Long range); the result is Integer when both are
// Integer-sized, else Long. Raises 11 for a zero divisor. Mod takes the
// sign of the dividend.
vb::Variant IntDivide(const vb::Variant& a, const vb::Variant& b);
vb::Variant Modulo(const vb::Variant& a, const vb::Variant& b);
// "^": always a Double. Raises 5 for a negative base with a fractional
// exponent and for zero to a negative power, 6 on overflow.
vb::Variant Power(const vb::Variant& a, const vb::Variant& b);
// Unary "-": -32768 as Integer becomes a Long, the lowest Long a Double;
// a Date stays a Date.
vb::Variant Negate(const vb::Variant& a);
// "&": both operands as text; Null counts as "" unless both are Null.
// The result is charged to `budget`; 7 beyond it.
vb::Variant Concat(const vb::Variant& a, const vb::Variant& b, StringBudget& budget);

enum class CompareOp : uint8_t { kEqual, kNotEqual, kLess, kGreater, kLessEqual, kGreaterEqual };
// Comparison operators, giving Boolean or Null. Numbers compare by value,
// texts byte by byte, Empty as 0 or "" to match the other side. A number
// and a text: when the number is a literal of the expression the text is
// read as a number (13 when it is none), when only the text is a literal
// the number is shown as text, and otherwise the number is the smaller.
vb::Variant Compare(CompareOp op, const vb::Variant& a, bool a_literal, const vb::Variant& b,
                    bool b_literal);
// "Is": identity of two object references; raises 424 for a non-object.
vb::Variant Is(const vb::Variant& a, const vb::Variant& b);

// Logical and bitwise operators. Two Booleans give a Boolean; otherwise
// the operands are rounded to whole numbers and combined bit by bit in the
// wider of Byte, Integer and Long. Text reads as "True"/"False" or as a
// number. With one Null operand the result is still known when the other
// decides it: Null And 0 is 0, Null Or True is True, False Imp Null is True.
vb::Variant Not(const vb::Variant& a);
vb::Variant And(const vb::Variant& a, const vb::Variant& b);
vb::Variant Or(const vb::Variant& a, const vb::Variant& b);
vb::Variant Xor(const vb::Variant& a, const vb::Variant& b);
vb::Variant Eqv(const vb::Variant& a, const vb::Variant& b);
vb::Variant Imp(const vb::Variant& a, const vb::Variant& b);

}  // namespace kvt::script
