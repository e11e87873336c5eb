// The language's type functions: TypeName, VarType, IsNumeric, IsEmpty,
// IsNull, IsDate and IsObject (IsArray is with the array functions). None of them raises.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable TypeBuiltins();

}  // namespace kvt::script
