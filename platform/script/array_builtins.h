// The language's array functions: Array, IsArray, Join, Split, Filter,
// UBound and LBound. Every array they build is charged to the evaluation's
// budget (ChargeArray), so a formula cannot hold more memory in arrays
// than in text.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable ArrayBuiltins();

}  // namespace kvt::script
