// Shared by the built-in groups: reading arguments by the language's rules
// and building results within the evaluation's string budget.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/script/builtins.h"
#include "platform/value/text.h"
#include "platform/value/variant.h"

namespace kvt::script {

// Raises 5 (Invalid procedure call or argument).
[[noreturn]] void InvalidCall();

// Raises 94 (Invalid use of Null) when `value` is Null.
void RejectNull(const vb::Variant& value);

// A whole-number argument: 94 for Null, otherwise CLng's half-to-even
// rounding and its errors (13 for text that is no number, 6 out of range).
int32_t LongArg(const vb::Variant& value);

// Argument `i` as LongArg reads it, or `fallback` when it was not given.
int32_t OptionalLong(const Args& args, size_t i, int32_t fallback);

// vbBinaryCompare (0, the default) or vbTextCompare (1) in argument `i`:
// true for text comparison. Raises 94 for Null and 5 for any other value.
bool TextCompareArg(const Args& args, size_t i);

// The text of `value` as CStr gives it; `scratch` holds it when `value` is
// no string. Raises 94 for Null.
const std::string& TextOf(const vb::Variant& value, std::string& scratch);

// The first `needle` (not empty) in `haystack` at or after `from`, or
// npos. Linear in the worst case, so no pattern makes a search quadratic.
size_t Find(std::string_view haystack, std::string_view needle, size_t from);

// `text` as a result, charged to the evaluation's budget.
vb::Variant TextResult(std::string text, StringBudget& budget);

// Charges an array of `count` elements to the evaluation's budget, at the
// memory each element takes; 7 beyond it.
void ChargeArray(size_t count, StringBudget& budget);

// A Double result; raises 6 when it is not a finite number.
vb::Variant RealResult(double value);

using vb::LowerAscii;
using vb::UpperAscii;
// `text` with A-Z lowered, for the language's text comparison.
inline std::string Folded(std::string_view text) { return vb::LCase(text); }
// Equal ignoring the case of A-Z.
inline bool SameName(std::string_view a, std::string_view b) { return vb::SameText(a, b); }

// A group's table, kept in name order by whoever uses it.
using BuiltinTable = std::span<const Builtin>;

}  // namespace kvt::script
