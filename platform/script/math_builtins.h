// The language's math functions: Abs, Sgn, Int, Fix, Round, Sqr, Exp, Log,
// Sin, Cos, Tan and Atn.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable MathBuiltins();

}  // namespace kvt::script
