// Evaluator: parses and evaluates one expression in a single pass, with no
// syntax tree, so that a formula costs one walk over its text.
//
// Limits of one evaluation, so that no formula can hold much memory or run
// long: the text is at most kMaxExpressionLength bytes, nesting at most
// kMaxNestingDepth levels, and all the strings it builds together at most
// kMaxStringBytesPerEvaluation bytes (string_budget.h). Every operation
// reads its operands once and costs time in proportion to the text it
// reads and writes, so the work of an evaluation is bounded by its length
// plus that budget.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/value/variant.h"

namespace kvt::script {

// Longest expression accepted; beyond it 7 (Out of memory) is raised
// before anything is read.
inline constexpr size_t kMaxExpressionLength = 65536;
// Deepest nesting of parentheses, calls and prefix operators; beyond it
// 28 (Out of stack space), long before the host's stack is at risk.
inline constexpr int kMaxNestingDepth = 200;

// What an evaluation noticed beside its value, for tools that check
// formulas.
struct EvaluationNotes {
  // Names read as variables that are neither built-in functions nor
  // constants: undeclared variables, which the language reads as Empty.
  // Each name once, as first written, in the order met.
  std::vector<std::string> undefined_names;
};

// The value of `expression`. The whole text is checked for syntax before
// any run-time error is reported, as a compiled script would be: a syntax
// error (1002, 1006, 1025, ...) wins over a run-time error (6, 11, 13...)
// that comes earlier in the text. `notes`, when given, is filled even when
// the evaluation raises (as far as the text was read).
vb::Variant EvaluateExpression(std::string_view expression, EvaluationNotes* notes = nullptr);

}  // namespace kvt::script
