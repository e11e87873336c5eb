// The language's conversion functions: CBool, CByte, CCur, CDate, CDbl,
// CInt, CLng, CSng, CStr, FormatNumber, FormatCurrency, FormatPercent and
// FormatDateTime, with the platform's rounding and errors.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable ConversionBuiltins();

}  // namespace kvt::script
