// The language's string functions: Len, Left, Right, Mid, InStr, InStrRev,
// Replace, LCase, UCase, Trim, LTrim, RTrim, Space, String, StrComp,
// StrReverse, Asc, Chr, Hex and Oct. Text is bytes; case rules cover A-Z.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable StringBuiltins();

}  // namespace kvt::script
