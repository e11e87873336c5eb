#include "platform/script/script_control.h"

#include "platform/script/evaluator.h"
#include "platform/value/error.h"

namespace kvt::script {

void ScriptControl::Language(std::string_view language) {
  constexpr std::string_view kVBScript = "VBSCRIPT";
  bool same = language.size() == kVBScript.size();
  for (size_t i = 0; same && i < language.size(); ++i) {
    char c = language[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    same = c == kVBScript[i];
  }
  if (!same) {
    throw vb::Error::Numbered(vb::err::kInvalidPropertyValue, "ScriptControl",
                              "language '" + std::string(language) + "'");
  }
  language_ = "VBScript";
}

vb::Variant ScriptControl::Eval(std::string_view expression) const {
  return EvaluateExpression(expression);
}

}  // namespace kvt::script
