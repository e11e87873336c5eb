// Errors the script engine raises: the language's compilation errors (in
// the 1000s) and the run-time errors it shares with the rest of the
// platform, each with the language's own description text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/value/error.h"

namespace kvt::script {

namespace err {
// Compilation errors: the text does not form an expression.
inline constexpr int32_t kSyntaxError = 1002;
inline constexpr int32_t kExpectedLParen = 1005;
inline constexpr int32_t kExpectedRParen = 1006;
inline constexpr int32_t kExpectedIdentifier = 1010;
inline constexpr int32_t kExpectedEndOfStatement = 1025;
inline constexpr int32_t kIdentifierTooLong = 1030;
inline constexpr int32_t kInvalidNumber = 1031;
inline constexpr int32_t kInvalidCharacter = 1032;
inline constexpr int32_t kUnterminatedString = 1033;
// Run-time errors the platform has no constant for.
inline constexpr int32_t kArgumentNotOptional = 449;
}  // namespace err

// Source texts of the two kinds of error, as a host reads them from Err.
inline constexpr const char* kCompileErrorSource = "VBScript compilation error";
inline constexpr const char* kRuntimeErrorSource = "VBScript runtime error";

// The language's description for an error number: the compilation texts
// ("Syntax error", "Expected ')'", ...) and "Argument not optional"; any
// other number gets the platform's standard description.
std::string ScriptErrorDescription(int32_t number);

// An error of the compilation kind; `context` holds position and token.
vb::Error CompileError(int32_t number, std::string context);
// An error of the run-time kind; `context` holds the name or operand.
vb::Error RuntimeError(int32_t number, std::string context = {});

}  // namespace kvt::script
