// Evaluator: parses and evaluates one expression in a single pass, with no
// syntax tree, so that a formula costs one walk over its text.
#pragma once

#include <string_view>

#include "platform/value/variant.h"

namespace kvt::script {

// Longest expression accepted; beyond it 7 (Out of memory) is raised
// before anything is read.
inline constexpr size_t kMaxExpressionLength = 65536;
// Deepest nesting of parentheses, calls and prefix operators; beyond it
// 28 (Out of stack space), long before the host's stack is at risk.
inline constexpr int kMaxNestingDepth = 200;

// The value of `expression`. The whole text is checked for syntax before
// any run-time error is reported, as a compiled script would be: a syntax
// error (1002, 1006, 1025, ...) wins over a run-time error (6, 11, 13...)
// that comes earlier in the text.
vb::Variant EvaluateExpression(std::string_view expression);

}  // namespace kvt::script
