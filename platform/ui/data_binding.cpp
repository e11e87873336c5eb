#include "platform/ui/data_binding.h"

#include "platform/object/object.h"
#include "platform/value/conversions.h"

namespace kvt::ui {

using object::SameName;

bool DataBinding::Get(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "DataSource")) {
    out = data_source;
  } else if (SameName(name, "DataMember")) {
    out = data_member;
  } else if (SameName(name, "DataField")) {
    out = data_field;
  } else {
    return false;
  }
  return true;
}

bool DataBinding::Let(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "DataMember")) {
    data_member = vb::CStr(value);
  } else if (SameName(name, "DataField")) {
    data_field = vb::CStr(value);
  } else {
    return false;
  }
  return true;
}

bool DataBinding::Set(std::string_view name, const vb::ObjectRef& value) {
  if (!SameName(name, "DataSource")) return false;
  data_source = value;
  return true;
}

}  // namespace kvt::ui
