// Shared helpers for the expression tests: results shown as
// "Subtype:text" so a table row states both the value and its subtype.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/script/script_control.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/variant_array.h"

namespace kvt::script {

inline std::string Show(const vb::Variant& value) {
  if (value.IsNull()) return "Null";
  if (const vb::VariantArray* array = value.array()) {
    std::string shown = "Variant(";
    for (size_t i = 0; i < array->size(); ++i) {
      shown += (i == 0 ? "" : ", ") + Show(array->Elements()[i]);
    }
    return shown + ")";
  }
  if (value.IsObject()) return value.TypeName();
  return value.TypeName() + ":" + vb::CStr(value);
}

// The result shown, or "error N" when evaluation raised.
inline std::string EvalShown(const std::string& expression) {
  try {
    return Show(ScriptControl().Eval(expression));
  } catch (const vb::Error& error) {
    return "error " + std::to_string(error.number());
  }
}

struct EvalCase {
  const char* expression;
  const char* expected;
};

// Checks each expression's EvalShown against its expected text.
inline void ExpectAll(std::initializer_list<EvalCase> cases) {
  for (const EvalCase& c : cases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(EvalShown(c.expression), c.expected);
  }
}

}  // namespace kvt::script
