#include "component/dialog_property.h"

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::component {
namespace {

[[noreturn]] void NoSuchFacet(const ui::Control& control) {
  throw vb::Error::NoSuchMember(control.TypeName(), control.Name());
}

}  // namespace

vb::Variant ReadFacet(const ui::Control& control, Facet facet) {
  switch (facet) {
    case Facet::kEnabled: return control.Enabled();
    case Facet::kChosen:
      if (auto* option = dynamic_cast<const ui::OptionButton*>(&control)) {
        return option->Value();
      }
      break;
    case Facet::kShownText:
      if (auto* list = dynamic_cast<const ui::DataCombo*>(&control)) return list->Text();
      break;
    case Facet::kValue:
      switch (control.Kind()) {
        case ui::ControlKind::kTextBox: return static_cast<const ui::TextBox&>(control).Text();
        case ui::ControlKind::kLabel: return static_cast<const ui::Label&>(control).Caption();
        case ui::ControlKind::kCommandButton:
          return static_cast<const ui::CommandButton&>(control).Caption();
        case ui::ControlKind::kDataCombo:
          return static_cast<const ui::DataCombo&>(control).BoundText();
        case ui::ControlKind::kCheckBox:
          return static_cast<int16_t>(static_cast<const ui::CheckBox&>(control).Value());
        default: break;
      }
      break;
  }
  NoSuchFacet(control);
}

void WriteFacet(ui::Control& control, Facet facet, const vb::Variant& value) {
  switch (facet) {
    case Facet::kEnabled: control.Enabled(vb::CBool(value)); return;
    case Facet::kChosen:
      if (auto* option = dynamic_cast<ui::OptionButton*>(&control)) {
        option->Value(vb::CBool(value));
        return;
      }
      break;
    case Facet::kShownText:
      if (auto* list = dynamic_cast<ui::DataCombo*>(&control)) {
        list->Text(vb::CStr(value));
        return;
      }
      break;
    case Facet::kValue:
      switch (control.Kind()) {
        case ui::ControlKind::kTextBox:
          static_cast<ui::TextBox&>(control).Text(vb::CStr(value));
          return;
        case ui::ControlKind::kLabel:
          static_cast<ui::Label&>(control).Caption(vb::CStr(value));
          return;
        case ui::ControlKind::kCommandButton:
          static_cast<ui::CommandButton&>(control).Caption(vb::CStr(value));
          return;
        case ui::ControlKind::kDataCombo:
          static_cast<ui::DataCombo&>(control).BoundText(vb::CStr(value));
          return;
        case ui::ControlKind::kCheckBox:
          static_cast<ui::CheckBox&>(control).Value(vb::CInt(value));
          return;
        default: break;
      }
      break;
  }
  NoSuchFacet(control);
}

vb::Variant ConvertValue(const vb::Variant& value, ValueType type) {
  switch (type) {
    case ValueType::kLong: return vb::CLng(value);
    case ValueType::kBoolean: return vb::CBool(value);
    case ValueType::kText: break;
  }
  return vb::CStr(value);
}

}  // namespace kvt::component
