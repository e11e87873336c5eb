// Discount formulas: expressions in which X stands for the subtotal a
// discount applies to and V1, V2, ... for entries of a parameter list,
// evaluated by the dialog's script engine.
#pragma once

#include <cstdint>
#include <string>

#include "platform/script/script_control.h"
#include "platform/value/currency.h"
#include "platform/value/error.h"

namespace kvt::orders {

// Raised (inside ExpandAndEvaluateFormula) for a parameter that is no number.
inline constexpr int32_t kNonNumericFormulaParameter = vb::vbObjectError + 1000;

// Evaluates a discount formula; true when it was evaluated, with the result
// in `pAnswer`. `sFormula` is rewritten in place: upper-cased, every "X"
// replaced by `pValue`, each CR LF pair by a blank, every "V<i>" by the
// i-th trimmed entry of the comma-separated `sParameters` (empty text means
// no parameters). After a successful call it holds the expanded expression,
// so callers reload the formula before each evaluation.
// A formula longer than the engine takes, or one that would grow beyond it
// as it is expanded, is refused (7) before it is touched further.
// Never raises: a formula the engine rejects, a result that is no number or
// does not fit the currency range, or a non-numeric parameter returns false
// with `pAnswer` unchanged and `sFormula` as far as it had been rewritten.
bool EvaluateFormula(const script::ScriptControl& msMain, vb::Currency& pAnswer,
                     const std::string& pValue, const std::string& sParameters,
                     std::string& sFormula);

// The same steps, raising instead of returning false: the error numbered
// kNonNumericFormulaParameter for a parameter that is no number, the
// engine's error for the expression, 13 or 94 for a result that is no
// number, 6 when it leaves the currency range.
vb::Currency ExpandAndEvaluateFormula(const script::ScriptControl& msMain,
                                      const std::string& pValue, const std::string& sParameters,
                                      std::string& sFormula);

}  // namespace kvt::orders
