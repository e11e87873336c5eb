#include "orders/discount_formula.h"

#include <vector>

#include "platform/script/evaluator.h"
#include "platform/value/conversions.h"
#include "platform/value/failure_style.h"
#include "platform/value/text.h"

namespace kvt::orders {
namespace {

// The engine refuses longer text anyway (7): refused before a formula is
// copied, upper-cased and expanded, a huge one costs nothing.
[[noreturn]] void RefuseTooLong() {
  throw vb::Error::Numbered(
      vb::err::kOutOfMemory, "EvaluateFormula",
      "a formula longer than " + std::to_string(script::kMaxExpressionLength) + " characters");
}

void ReplaceAll(std::string& text, const std::string& find, const std::string& with) {
  if (find.empty()) return;
  std::string result;
  size_t position = 0;
  for (size_t hit = text.find(find); hit != std::string::npos; hit = text.find(find, position)) {
    result.append(text, position, hit - position).append(with);
    position = hit + find.size();
    if (result.size() > script::kMaxExpressionLength) RefuseTooLong();
  }
  result.append(text, position, std::string::npos);
  text = std::move(result);
}

// Splitting empty text gives no entries at all, so an empty parameter list
// leaves V1 in the formula untouched.
std::vector<std::string> SplitParameters(const std::string& parameters) {
  std::vector<std::string> entries;
  if (parameters.empty()) return entries;
  size_t start = 0;
  for (;;) {
    const size_t comma = parameters.find(',', start);
    entries.push_back(parameters.substr(start, comma - start));
    if (comma == std::string::npos) return entries;
    start = comma + 1;
  }
}

}  // namespace

vb::Currency ExpandAndEvaluateFormula(const script::ScriptControl& msMain,
                                      const std::string& pValue, const std::string& sParameters,
                                      std::string& sFormula) {
  if (sFormula.size() > script::kMaxExpressionLength) RefuseTooLong();
  for (char& c : sFormula) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  ReplaceAll(sFormula, "X", pValue);
  const std::vector<std::string> parameters = SplitParameters(sParameters);
  ReplaceAll(sFormula, "\r\n", " ");
  for (size_t i = 0; i < parameters.size(); ++i) {
    const std::string parameter = vb::Trim(parameters[i]);
    if (!vb::IsNumeric(vb::Variant(parameter))) {
      throw vb::Error(kNonNumericFormulaParameter, "EvaluateFormula",
                      vb::Error::StandardDescription(kNonNumericFormulaParameter),
                      "parameter " + std::to_string(i + 1) + " '" + parameter + "'");
    }
    ReplaceAll(sFormula, "V" + std::to_string(i + 1), parameter);
  }
  const vb::Variant result = msMain.Eval(sFormula);
  return vb::Currency::FromDouble(vb::CDbl(result));
}

bool EvaluateFormula(const script::ScriptControl& msMain, vb::Currency& pAnswer,
                     const std::string& pValue, const std::string& sParameters,
                     std::string& sFormula) {
  // Any failure, allocation included: the caller reports the formula as
  // invalid.
  return !vb::StopSilently([&] {
            pAnswer = ExpandAndEvaluateFormula(msMain, pValue, sParameters, sFormula);
          }).HasError();
}

}  // namespace kvt::orders
