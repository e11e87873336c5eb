// The language's named constants that make sense in an expression:
// vbSunday ... vbSaturday, vbFirstJan1 ..., vbBinaryCompare, vbTextCompare,
// vbGeneralDate ... vbShortTime, vbTrue, vbFalse, vbUseDefault, the VarType
// numbers (vbInteger, vbString, ...), vbCr, vbLf, vbCrLf, vbNewLine, vbTab
// and the other character constants, and vbObjectError.
#pragma once

#include <string_view>

#include "platform/value/variant.h"

namespace kvt::script {

// The constant called `name` (any case), or nullptr when there is none.
const vb::Variant* FindConstant(std::string_view name);

}  // namespace kvt::script
