#include "platform/script/script_error.h"

namespace kvt::script {

std::string ScriptErrorDescription(int32_t number) {
  switch (number) {
    case err::kSyntaxError: return "Syntax error";
    case err::kExpectedLParen: return "Expected '('";
    case err::kExpectedRParen: return "Expected ')'";
    case err::kExpectedIdentifier: return "Expected identifier";
    case err::kExpectedEndOfStatement: return "Expected end of statement";
    case err::kIdentifierTooLong: return "Identifier too long";
    case err::kInvalidNumber: return "Invalid number";
    case err::kInvalidCharacter: return "Invalid character";
    case err::kUnterminatedString: return "Unterminated string constant";
    case err::kArgumentNotOptional: return "Argument not optional";
    default: return vb::Error::StandardDescription(number);
  }
}

vb::Error CompileError(int32_t number, std::string context) {
  return vb::Error(number, kCompileErrorSource, ScriptErrorDescription(number), std::move(context));
}

vb::Error RuntimeError(int32_t number, std::string context) {
  return vb::Error(number, kRuntimeErrorSource, ScriptErrorDescription(number), std::move(context));
}

}  // namespace kvt::script
