// kvt::ui::DatePicker — a date, or none when its check box is cleared.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/control.h"
#include "platform/value/date.h"

namespace kvt::ui {

class DatePicker : public Control {
 public:
  using Control::Control;
  std::string TypeName() const override { return "DTPicker"; }
  ControlKind Kind() const override { return ControlKind::kDatePicker; }

  // The date, or nullopt when none is chosen (late-bound Value reads Null).
  const std::optional<vb::Date>& Value() const { return value_; }
  // Raises Change when the value differs.
  void Value(std::optional<vb::Date> value);
  // Whether the picker offers "no date" (its check box).
  bool CheckBox() const { return check_box_; }
  void CheckBox(bool check_box);

 protected:
  std::string_view DefaultProperty() const override { return "Value"; }
  bool GetOwn(std::string_view name, vb::Variant& out) const override;
  bool LetOwn(std::string_view name, const vb::Variant& value) override;

 private:
  std::optional<vb::Date> value_;
  bool check_box_ = false;
};

}  // namespace kvt::ui
