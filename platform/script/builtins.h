// The built-in functions a formula may call. The set is closed: there is
// no CreateObject, no Eval or Execute, no file, clock or user-interface
// function, so an expression can only compute.
#pragma once

#include <span>
#include <string_view>

#include "platform/value/variant.h"

namespace kvt::script {

// Most arguments any built-in takes (Replace).
inline constexpr size_t kMaxBuiltinArguments = 6;

using BuiltinFunction = vb::Variant (*)(std::span<const vb::Variant> args);

struct Builtin {
  std::string_view name;  // upper case
  uint8_t min_args;
  uint8_t max_args;
  BuiltinFunction function;
};

// The built-in called `name` (any case), or nullptr when there is none.
const Builtin* FindBuiltin(std::string_view name);

// True for the names that would create or reach an object (CreateObject,
// GetObject); calling them raises 429 (ActiveX component can't create
// object) rather than 13.
bool IsObjectFactory(std::string_view name);

}  // namespace kvt::script
