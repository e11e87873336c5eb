#include "component/mod_general.h"

#include <algorithm>
#include <cctype>

#include "platform/value/failure_style.h"
#include "component/mod_publics.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"

namespace kvt::component {

namespace {

vb::Variant ShownText(const vb::Variant& text) {
  if (text.IsString() && text.get_if<std::string>()->empty()) {
    return vb::Variant::Integer(0);
  }
  return text;
}

}  // namespace

vb::Variant GetControlValue(const vb::Variant& control) {
  vb::Variant result;
  vb::PassOver([&] {
    const std::string type_name = control.TypeName();
    if (object::SameName(type_name, "TextBox")) {
      result = ShownText(object::GetProperty(control, "Text"));
    } else if (object::SameName(type_name, "Label")) {
      result = ShownText(object::GetProperty(control, "Caption"));
    }
  });
  return result;
}

vb::Variant ParseNumber(const vb::Variant& value) {
  if (!vb::IsNumeric(value)) return vb::Variant::Integer(0);
  std::string text = vb::CStr(value);
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  return vb::Val(text);
}

std::string FormatToDecimals(const vb::Variant& value, int32_t decimals) {
  const vb::Variant number = ParseNumber(value);
  return ThreadStore().NumberFormat().FormatAmount(number, decimals, -1, 0,
                                                   -1);
}

std::string FormatTwoDecimals(const vb::Variant& value) {
  return FormatToDecimals(value, 2);
}

}  // namespace kvt::component
