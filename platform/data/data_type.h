// Field data types of a record set and the conversion of a written value to
// a field's type.
#pragma once

#include <string>

#include "platform/value/variant.h"

namespace kvt::data {

// The platform's data type numbers, as a record set's Field.Type reports them.
enum class DataType : int {
  kSmallInt = 2,  // 16-bit whole number
  kInteger = 3,   // 32-bit whole number
  kSingle = 4,
  kDouble = 5,
  kCurrency = 6,  // vb::Currency
  kDate = 7,      // vb::Date
  kBoolean = 11,
  kVariant = 12,    // takes any value unchanged
  kVarWChar = 202,  // text
};

// The type's name for logs and for the host's inspection ("Currency").
std::string DataTypeName(DataType type);

// Returns `value` converted to what a field of `type` stores. Null stays
// Null and Empty becomes Null (every field is nullable). Text is read under
// the active locale, so grouping separators are accepted ("1,234.50" into a
// Currency field gives 1234.5). Raises 3421 ("Application uses a value of
// the wrong type for the current operation.") when the value cannot be
// converted or does not fit the type; the failing conversion's own message
// goes into the error's context, prefixed with `field_name`.
vb::Variant ConvertForField(DataType type, const vb::Variant& value, const std::string& field_name);

}  // namespace kvt::data
