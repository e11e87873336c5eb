// The built-in functions a formula may call: the language's string, math,
// conversion, type and date functions. The set is closed: there is no
// CreateObject, no Eval or Execute, no file, user-interface or host
// function, so an expression can only compute. Each group lives in its own
// file pair (string_builtins, math_builtins, ...); this one finds them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/script/string_budget.h"
#include "platform/value/variant.h"

namespace kvt::script {

// Most arguments any built-in takes (Replace), Array aside.
inline constexpr size_t kMaxBuiltinArguments = 6;
// The max_args of a built-in that takes any number of arguments (Array).
inline constexpr uint8_t kAnyArgumentCount = 255;

// The arguments of one call as a built-in sees them, and the budget its
// result text is charged to.
class Args {
 public:
  // Bit i of `omitted` marks argument i as left out ("Mid(s, , 2)").
  Args(std::span<const vb::Variant> values, uint32_t omitted, StringBudget& budget)
      : values_(values), omitted_(omitted), budget_(budget) {}

  size_t size() const { return values_.size(); }
  auto begin() const { return values_.begin(); }
  auto end() const { return values_.end(); }
  // Argument `i`; Empty when it was left out.
  const vb::Variant& operator[](size_t i) const { return values_[i]; }
  // True when argument `i` was written in the call, false when it was left
  // out or lies beyond the last one: the built-in then takes its default.
  bool Given(size_t i) const { return i < values_.size() && ((omitted_ >> i) & 1u) == 0; }
  StringBudget& Budget() const { return budget_; }

 private:
  std::span<const vb::Variant> values_;
  uint32_t omitted_;
  StringBudget& budget_;
};

// A built-in raises vb::Error with the language's numbers: 5 for an
// argument out of its range, 6 on overflow, 7 when its result text would
// exceed the evaluation's budget, 13 for an argument of the wrong type,
// 94 for Null where the function does not pass Null through.
using BuiltinFunction = vb::Variant (*)(const Args& args);

struct Builtin {
  std::string_view name;  // as the language spells it; looked up in any case
  uint8_t min_args;       // 0: may be called without parentheses ("Now")
  uint8_t max_args;       // kAnyArgumentCount: no limit
  BuiltinFunction function;
};

// The built-in called `name` (any case), or nullptr when there is none.
const Builtin* FindBuiltin(std::string_view name);

// True for the names that would create or reach an object (CreateObject,
// GetObject); calling them raises 429 (ActiveX component can't create
// object) rather than 13.
bool IsObjectFactory(std::string_view name);

}  // namespace kvt::script
