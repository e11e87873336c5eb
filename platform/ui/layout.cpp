#include "platform/ui/layout.h"

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/form.h"

namespace kvt::ui {

void Form::AddControls(std::span<const ControlSpec> specs) {
  for (const ControlSpec& spec : specs) {
    Control* control = nullptr;
    switch (spec.kind) {
      case ControlKind::kLabel: {
        Label& label = Add<Label>(spec.name, spec.index);
        label.Caption(spec.caption);
        if (spec.style & kRightAligned) label.Alignment(1);
        if (spec.style & kCentred) label.Alignment(2);
        control = &label;
        break;
      }
      case ControlKind::kTextBox: {
        TextBox& box = Add<TextBox>(spec.name, spec.index);
        box.Text(spec.caption);
        if (spec.style & kRightAligned) box.Alignment(1);
        control = &box;
        break;
      }
      case ControlKind::kCheckBox:
        control = &Add<CheckBox>(spec.name, spec.index);
        static_cast<CheckBox*>(control)->Caption(spec.caption);
        break;
      case ControlKind::kOptionButton:
        control = &Add<OptionButton>(spec.name, spec.index);
        static_cast<OptionButton*>(control)->Caption(spec.caption);
        break;
      case ControlKind::kCommandButton: {
        CommandButton& button = Add<CommandButton>(spec.name, spec.index);
        button.Caption(spec.caption);
        button.Default((spec.style & kDefaultButton) != 0);
        button.Cancel((spec.style & kCancelButton) != 0);
        control = &button;
        break;
      }
      case ControlKind::kDataCombo: {
        DataCombo& list = Add<DataCombo>(spec.name, spec.index);
        list.Style((spec.style & kDropDownList) ? 2 : 0);
        control = &list;
        break;
      }
      case ControlKind::kDatePicker:
        control = &Add<DatePicker>(spec.name, spec.index);
        static_cast<DatePicker*>(control)->CheckBox((spec.style & kDateCheckBox) != 0);
        break;
      case ControlKind::kFrame:
        control = &Add<Frame>(spec.name, spec.index);
        static_cast<Frame*>(control)->Caption(spec.caption);
        break;
      case ControlKind::kDataGrid:
        throw vb::Error::Numbered(vb::err::kInvalidCall, name_, "a data grid has no layout row");
    }
    control->Move(spec.left, spec.top, spec.width, spec.height);
    if (spec.container != nullptr) {
      control->Container(&Ctl(spec.container, spec.container_index));
    }
    if (spec.font_name != nullptr || (spec.style & kBold)) {
      Font font = control->GetFont();
      if (spec.font_name != nullptr) font.name = spec.font_name;
      if (spec.font_size > 0) font.size = spec.font_size;
      font.bold = (spec.style & kBold) != 0;
      control->SetFont(font);
    }
    if (spec.style & kHidden) control->Visible(false);
    if (spec.style & kDisabled) control->Enabled(false);
    if (spec.style & kNoTabStop) control->TabStop(false);
    if (spec.tab_index >= 0) control->TabIndex(spec.tab_index);
  }
}

}  // namespace kvt::ui
