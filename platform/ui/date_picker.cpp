#include "platform/ui/date_picker.h"

#include "platform/value/conversions.h"

namespace kvt::ui {

using object::SameName;

void DatePicker::Value(std::optional<vb::Date> value) {
  if (value == value_) return;
  value_ = value;
  Changed();
  Raise(Event::kChange);
}

void DatePicker::CheckBox(bool check_box) {
  check_box_ = check_box;
  Changed();
}

bool DatePicker::GetOwn(std::string_view name, vb::Variant& out) const {
  if (SameName(name, "Value")) {
    out = value_ ? vb::Variant(*value_) : vb::Variant::Null();
  } else if (SameName(name, "CheckBox")) {
    out = check_box_;
  } else {
    return false;
  }
  return true;
}

bool DatePicker::LetOwn(std::string_view name, const vb::Variant& value) {
  if (SameName(name, "Value")) {
    Value(value.IsNull() || value.IsEmpty() ? std::nullopt
                                            : std::optional<vb::Date>(vb::CDate(value)));
  } else if (SameName(name, "CheckBox")) {
    CheckBox(vb::CBool(value));
  } else {
    return false;
  }
  return true;
}

}  // namespace kvt::ui
