#include "platform/ui/layout.h"

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/form.h"

namespace kvt::ui {

void Form::AddControls(std::span<const ControlLayout> rows) {
  for (const ControlLayout& row : rows) {
    Control* control = nullptr;
    switch (row.kind) {
      case ControlKind::kLabel: {
        Label& label = Add<Label>(row.name, row.index);
        label.Caption(row.caption);
        if (row.style & kRightAligned) label.Alignment(1);
        if (row.style & kCentred) label.Alignment(2);
        control = &label;
        break;
      }
      case ControlKind::kTextBox: {
        TextBox& box = Add<TextBox>(row.name, row.index);
        box.Text(row.caption);
        if (row.style & kRightAligned) box.Alignment(1);
        control = &box;
        break;
      }
      case ControlKind::kCheckBox:
        control = &Add<CheckBox>(row.name, row.index);
        static_cast<CheckBox*>(control)->Caption(row.caption);
        break;
      case ControlKind::kOptionButton:
        control = &Add<OptionButton>(row.name, row.index);
        static_cast<OptionButton*>(control)->Caption(row.caption);
        break;
      case ControlKind::kCommandButton: {
        CommandButton& button = Add<CommandButton>(row.name, row.index);
        button.Caption(row.caption);
        button.Default((row.style & kDefaultButton) != 0);
        button.Cancel((row.style & kCancelButton) != 0);
        control = &button;
        break;
      }
      case ControlKind::kDataCombo: {
        DataCombo& list = Add<DataCombo>(row.name, row.index);
        list.Style((row.style & kDropDownList) ? 2 : 0);
        control = &list;
        break;
      }
      case ControlKind::kDatePicker:
        control = &Add<DatePicker>(row.name, row.index);
        static_cast<DatePicker*>(control)->CheckBox((row.style & kDateCheckBox) != 0);
        break;
      case ControlKind::kFrame:
        control = &Add<Frame>(row.name, row.index);
        static_cast<Frame*>(control)->Caption(row.caption);
        break;
      case ControlKind::kDataGrid:
        throw vb::Error::Numbered(vb::err::kInvalidCall, name_, "a data grid has no layout row");
    }
    control->Move(row.left, row.top, row.width, row.height);
    if (row.container != nullptr) {
      control->Container(&Ctl(row.container, row.container_index));
    }
    if (row.font_name != nullptr || (row.style & kBold)) {
      Font font = control->GetFont();
      if (row.font_name != nullptr) font.name = row.font_name;
      if (row.font_size > 0) font.size = row.font_size;
      font.bold = (row.style & kBold) != 0;
      control->SetFont(font);
    }
    if (row.style & kHidden) control->Visible(false);
    if (row.style & kDisabled) control->Enabled(false);
    if (row.style & kNoTabStop) control->TabStop(false);
    if (row.tab_index >= 0) control->TabIndex(row.tab_index);
  }
}

}  // namespace kvt::ui
