// ScriptControl — the embedded script engine a dialog owns to evaluate
// formulas. It evaluates expressions of one language, VBScript, in a
// sandbox: no objects, no I/O, bounded length and nesting, so a formula
// typed by a user can neither reach the machine nor hang the host.
#pragma once

#include <string>
#include <string_view>

#include "platform/value/variant.h"

namespace kvt::script {

// Eval keeps no state between calls, so one control may serve any number
// of evaluations, and controls on different threads never interfere.
class ScriptControl {
 public:
  ScriptControl() = default;

  // The script language; "VBScript" from the start.
  const std::string& Language() const { return language_; }
  // Accepts "VBScript" in any case (stored as "VBScript"); any other
  // language raises 380 (Invalid property value) and keeps the old one.
  void Language(std::string_view language);

  // The value of `expression` as the language computes it: Byte, Integer,
  // Long, Single, Double, Currency, Date, String, Boolean, Empty or Null,
  // and Nothing for the keyword. Names that are neither built-in functions
  // nor constants are undeclared variables and read as Empty (not an
  // error); calling one raises 13 with the name in the error's context.
  // Raises compilation errors 1002 (Syntax error), 1006 (Expected ')'),
  // 1010, 1025 (Expected end of statement), 1030-1033 for malformed text;
  // run-time errors 5, 6, 11, 13, 94, 424, 429 (CreateObject), 449
  // (Argument not optional), 450 as the language does; 28 (Out of stack
  // space) for nesting deeper than kMaxNestingDepth and 7 (Out of memory)
  // for text longer than kMaxExpressionLength or strings beyond the
  // evaluation's budget (evaluator.h).
  vb::Variant Eval(std::string_view expression) const;

 private:
  std::string language_ = "VBScript";
};

}  // namespace kvt::script
