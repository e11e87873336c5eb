#include "platform/data/data_type.h"

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::data {

std::string DataTypeName(DataType type) {
  switch (type) {
    case DataType::kSmallInt: return "SmallInt";
    case DataType::kInteger: return "Integer";
    case DataType::kSingle: return "Single";
    case DataType::kDouble: return "Double";
    case DataType::kCurrency: return "Currency";
    case DataType::kDate: return "Date";
    case DataType::kBoolean: return "Boolean";
    case DataType::kVariant: return "Variant";
    case DataType::kVarWChar: return "VarWChar";
  }
  return "Unknown";
}

namespace {

vb::Variant Convert(DataType type, const vb::Variant& value) {
  switch (type) {
    case DataType::kVariant: return value;
    case DataType::kVarWChar: return vb::Variant(vb::CStr(value));
    case DataType::kSmallInt: return vb::Variant::Integer(vb::CInt(value));
    case DataType::kInteger: return vb::Variant(vb::CLng(value));
    case DataType::kSingle: return vb::Variant(vb::CSng(value));
    case DataType::kDouble: return vb::Variant(vb::CDbl(value));
    case DataType::kCurrency: return vb::Variant(vb::CCur(value));
    case DataType::kDate: return vb::Variant(vb::CDate(value));
    case DataType::kBoolean: return vb::Variant(vb::CBool(value));
  }
  throw vb::Error::TypeMismatch();
}

}  // namespace

vb::Variant ConvertForField(DataType type, const vb::Variant& value,
                            const std::string& field_name) {
  if (value.IsNull() || value.IsEmpty()) return vb::Variant::Null();
  // Only a Variant field may hold an object; a text field would otherwise
  // store the object's default text and lose the reference silently.
  if (value.IsObject() && type != DataType::kVariant) {
    throw WrongTypeError(field_name + ": object");
  }
  try {
    return Convert(type, value);
  } catch (const vb::Error& error) {
    throw WrongTypeError(field_name + ": " + error.description());
  }
}

}  // namespace kvt::data
