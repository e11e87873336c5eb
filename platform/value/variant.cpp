#include "platform/value/variant.h"

#include <ostream>

#include "platform/value/conversions.h"
#include "platform/value/variant_array.h"

namespace vb {

VarType Variant::type() const {
  static constexpr VarType kTypes[] = {
      VarType::Empty,  VarType::Null,   VarType::Boolean,  VarType::Integer, VarType::Long,
      VarType::Single, VarType::Double, VarType::Currency, VarType::Date,    VarType::String,
      VarType::Object, VarType::Byte,   VarType::Array};
  return kTypes[value_.index()];
}

Variant::Variant(ArrayRef value)
    : value_(SharedArray{value ? std::move(value) : std::make_shared<const VariantArray>()}) {}

bool Variant::SharedArray::operator==(const SharedArray& other) const {
  return array == other.array || *array == *other.array;
}

std::string Variant::TypeName() const {
  switch (type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::Currency: return "Currency";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::Boolean: return "Boolean";
    case VarType::Byte: return "Byte";
    case VarType::Array: return "Variant()";
    case VarType::Object: {
      const ObjectRef& object = std::get<ObjectRef>(value_);
      return object ? object->TypeName() : "Nothing";
    }
  }
  return "Unknown";
}

bool Variant::IsNumber() const {
  switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Byte: return true;
    default: return false;
  }
}

std::ostream& operator<<(std::ostream& out, const Variant& value) {
  out << value.TypeName();
  switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Object: return out;
    case VarType::Array: {
      const VariantArray& array = *value.array();
      out << "(";
      for (size_t i = 0; i < array.size(); ++i) out << (i == 0 ? "" : ", ") << array.Elements()[i];
      return out << ")";
    }
    case VarType::String: return out << " \"" << *value.get_if<std::string>() << "\"";
    default: return out << " " << CStr(value);
  }
}

}  // namespace vb
