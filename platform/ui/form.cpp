#include "platform/ui/form.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/driver.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::ui {

using object::SameName;

namespace {

// "Form already displayed; can't show modally".
constexpr int32_t kFormAlreadyShown = 400;

// A control array as late binding sees it: Item(i), Count, LBound, UBound.
class LateBoundArray : public object::Object {
 public:
  LateBoundArray(std::shared_ptr<Form> form, std::string name)
      : form_(std::move(form)), name_(std::move(name)) {}

  std::string TypeName() const override { return "Object"; }

  vb::Variant Get(std::string_view member, object::Args args) override {
    if ((member.empty() || SameName(member, "Item")) && args.size() == 1) {
      Control& control = form_->Ctl(name_, vb::CLng(args[0]));
      return vb::ObjectRef(control.shared_from_this());
    }
    if (!args.empty()) ThrowNoSuchMember(member);
    std::vector<int> indexes = form_->Indexes(name_);
    if (SameName(member, "Count")) return static_cast<int32_t>(indexes.size());
    if (indexes.empty()) throw vb::Error::SubscriptOutOfRange(name_);
    if (SameName(member, "LBound")) return indexes.front();
    if (SameName(member, "UBound")) return indexes.back();
    ThrowNoSuchMember(member);
  }

  void Let(std::string_view member, const vb::Variant& value, object::Args args) override {
    // lbl(3) = "x" writes the element's default property.
    if (member.empty() && args.size() == 1) {
      form_->Ctl(name_, vb::CLng(args[0])).Let("", value);
      return;
    }
    ThrowNoSuchMember(member);
  }

  vb::Variant Call(std::string_view member, object::Args args) override {
    return Get(member, args);
  }

 private:
  std::shared_ptr<Form> form_;
  std::string name_;
};

bool Reachable(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->Container()) {
    if (!c->Enabled() || !c->Visible()) return false;
  }
  return true;
}

int KeyCodeOf(char ch) { return static_cast<unsigned char>(vb::UpperAscii(ch)); }

}  // namespace

Form::Form(std::string name) : name_(std::move(name)), caption_(name_) {}

Form::~Form() = default;

void Form::Caption(std::string caption) {
  caption_ = std::move(caption);
  NotifyFormChanged();
}

void Form::Size(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  NotifyFormChanged();
}

void Form::EnsureBuilt() {
  // Build may reach its own controls, which would build again.
  if (building_) return;
  if (built_ && !discarded_) return;
  retired_ = std::move(controls_);
  controls_.clear();
  discarded_ = false;
  built_ = false;
  building_ = true;
  try {
    Build();
  } catch (...) {
    building_ = false;
    controls_.clear();
    throw;
  }
  building_ = false;
  built_ = true;
}

void Form::Load() {
  if (loaded_) return;
  EnsureBuilt();
  loaded_ = true;
  NotifyFormChanged();
  OnLoad();
}

void Form::Unload() {
  if (!loaded_) return;
  auto keep_alive = shared_from_this();
  bool cancel = false;
  OnUnload(cancel);
  if (cancel || !loaded_) return;
  visible_ = false;
  loaded_ = false;
  active_ = nullptr;
  if (discard_on_unload_) discarded_ = true;
  NotifyFormChanged();
}

void Form::Show(int modal) {
  auto keep_alive = shared_from_this();
  Load();
  if (!loaded_) return;  // the load handling unloaded it
  if (visible_) {
    if (modal == vbModal) throw vb::Error::Numbered(kFormAlreadyShown, name_);
    return;
  }
  visible_ = true;
  NotifyFormChanged();
  OnActivate();
  if (visible_ && (active_ == nullptr || !active_->CanFocus())) {
    std::vector<Control*> order = TabOrder();
    if (!order.empty()) MoveFocus(order.front());
  }
  if (modal == vbModal && visible_ && loaded_) CurrentDriver().RunModal(*this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  NotifyFormChanged();
}

Control* Form::Find(std::string_view name, int index) const {
  for (const auto& control : controls_) {
    if (control->Index() == index && SameName(control->Name(), name)) {
      return control.get();
    }
  }
  return nullptr;
}

std::vector<int> Form::Indexes(std::string_view name) const {
  std::vector<int> indexes;
  for (const auto& control : controls_) {
    if (control->Index() >= 0 && SameName(control->Name(), name)) {
      indexes.push_back(control->Index());
    }
  }
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

Control& Form::Ctl(std::string_view name, int index) {
  EnsureBuilt();
  if (Control* control = Find(name, index)) return *control;
  for (const auto& control : controls_) {
    if (SameName(control->Name(), name)) {
      throw vb::Error::Numbered(vb::err::kSubscriptOutOfRange, name_,
                                std::string(name) + "(" + std::to_string(index) + ")");
    }
  }
  throw vb::Error::NoSuchMember(name_, std::string(name));
}

void Form::ThrowTypeMismatch(std::string_view name) const {
  throw vb::Error::TypeMismatch(name_, std::string(name));
}

std::vector<Control*> Form::TabOrder() const {
  std::vector<Control*> order;
  for (const auto& control : controls_) {
    if (!control->TabStop() || !control->CanFocus()) continue;
    // Of an option group only the selected option is a tab stop.
    if (auto* option = dynamic_cast<OptionButton*>(control.get());
        option != nullptr && !option->Value()) {
      bool group_has_selection =
          std::any_of(controls_.begin(), controls_.end(), [&](const auto& other) {
            auto* sibling = dynamic_cast<OptionButton*>(other.get());
            return sibling != nullptr && sibling->Value() &&
                   sibling->Container() == option->Container();
          });
      if (group_has_selection) continue;
    }
    order.push_back(control.get());
  }
  std::stable_sort(order.begin(), order.end(),
                   [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  return order;
}

bool Form::MoveFocus(Control* target) {
  if (target == active_) return true;
  auto keep_target = target ? target->shared_from_this() : std::shared_ptr<vb::Object>();
  if (Control* leaving = active_) {
    EventArgs validate{*leaving};
    leaving->Raise(Event::kValidate, validate);
    if (validate.cancel) return false;
    active_ = target;
    leaving->Raise(Event::kLostFocus);
  }
  active_ = target;
  if (observer_ != nullptr) observer_->FocusChanged(active_);
  if (target != nullptr && active_ == target) target->Raise(Event::kGotFocus);
  return true;
}

void Form::UserFocus(Control& control) {
  if (!loaded_ || !visible_ || !control.CanFocus()) return;
  if (!MoveFocus(&control)) return;
  if (auto* text_box = dynamic_cast<TextBox*>(&control)) {
    text_box->Select(static_cast<int>(text_box->Text().size()), 0);
  }
}

void Form::UserClick(Control& control) {
  if (!loaded_ || !visible_ || !Reachable(control)) return;
  auto keep_alive = control.shared_from_this();
  if (control.TakesFocus()) {
    // A cancelled Validate swallows the click.
    if (!MoveFocus(&control)) return;
  }
  switch (control.Kind()) {
    case ControlKind::kCommandButton:
    case ControlKind::kLabel:
    case ControlKind::kFrame: control.Raise(Event::kClick); break;
    case ControlKind::kOptionButton: static_cast<OptionButton&>(control).Value(true); break;
    case ControlKind::kCheckBox: {
      auto& check = static_cast<CheckBox&>(control);
      check.Value(check.Value() == vbChecked ? vbUnchecked : vbChecked);
      break;
    }
    case ControlKind::kTextBox: {
      auto& text_box = static_cast<TextBox&>(control);
      text_box.Select(static_cast<int>(text_box.Text().size()), 0);
      break;
    }
    case ControlKind::kDataCombo:
    case ControlKind::kDatePicker:
    case ControlKind::kDataGrid: break;
  }
}

void Form::EditActiveText(int key_code, std::string_view typed) {
  auto* text_box = dynamic_cast<TextBox*>(active_);
  if (text_box != nullptr) {
    if (text_box->Locked()) return;
    if (key_code == vbKeyBack && text_box->SelLength() == 0) {
      if (text_box->SelStart() == 0) return;
      text_box->Select(text_box->SelStart() - 1, 1);
    } else if (key_code == vbKeyDelete && text_box->SelLength() == 0) {
      text_box->Select(text_box->SelStart(), 1);
    }
    text_box->ReplaceSelection(std::string(typed));
    return;
  }
  if (auto* combo = dynamic_cast<DataCombo*>(active_); combo != nullptr && combo->Style() == 0) {
    std::string text = combo->Text();
    if (key_code == vbKeyBack) {
      if (!text.empty()) text.pop_back();
    } else {
      text += typed;
    }
    combo->Text(std::move(text));
  }
}

void Form::UserType(std::string_view text) {
  for (char ch : text) {
    if (!loaded_ || !visible_) return;
    if (ch == '\t') {
      UserKey(vbKeyTab);
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      UserKey(vbKeyReturn);
      continue;
    }
    Control* control = active_;
    if (control == nullptr) return;
    auto keep_alive = control->shared_from_this();
    EventArgs down{*control, false, 0, KeyCodeOf(ch), 0};
    control->Raise(Event::kKeyDown, down);
    if (active_ != control) continue;
    EventArgs press{*control, false, static_cast<unsigned char>(ch), 0, 0};
    control->Raise(Event::kKeyPress, press);
    if (press.key_ascii != 0 && active_ == control) {
      if (press.key_ascii == ' ' && (control->Kind() == ControlKind::kCommandButton ||
                                     control->Kind() == ControlKind::kCheckBox ||
                                     control->Kind() == ControlKind::kOptionButton)) {
        UserClick(*control);
      } else {
        EditActiveText(0, std::string(1, static_cast<char>(press.key_ascii)));
      }
    }
    EventArgs up{*control, false, 0, KeyCodeOf(ch), 0};
    control->Raise(Event::kKeyUp, up);
  }
}

Control* Form::FindButton(bool want_default) const {
  for (const auto& control : controls_) {
    auto* button = dynamic_cast<CommandButton*>(control.get());
    if (button == nullptr || !Reachable(*button)) continue;
    if (want_default ? button->Default() : button->Cancel()) return button;
  }
  return nullptr;
}

void Form::UserKey(int key_code, int shift) {
  if (!loaded_ || !visible_) return;
  if (key_code == vbKeyTab) {
    TabFrom((shift & vbShiftMask) != 0);
    return;
  }
  Control* control = active_;
  if (key_code == vbKeyReturn || key_code == vbKeyEscape) {
    // The focused button takes Enter; otherwise the Default (Enter) or
    // Cancel (Escape) button is clicked without the focus moving.
    if (control != nullptr && key_code == vbKeyReturn &&
        control->Kind() == ControlKind::kCommandButton) {
      control->Raise(Event::kClick);
      return;
    }
    if (Control* button = FindButton(key_code == vbKeyReturn)) {
      button->Raise(Event::kClick);
      return;
    }
  }
  if (control == nullptr) return;
  if (key_code == vbKeySpace) {
    UserType(" ");
    return;
  }
  auto keep_alive = control->shared_from_this();
  EventArgs down{*control, false, 0, key_code, shift};
  control->Raise(Event::kKeyDown, down);
  if (active_ != control) return;
  if (key_code == vbKeyBack || key_code == vbKeyReturn || key_code == vbKeyEscape) {
    EventArgs press{*control, false, key_code, 0, 0};
    control->Raise(Event::kKeyPress, press);
    if (key_code == vbKeyBack && press.key_ascii != 0 && active_ == control) {
      EditActiveText(vbKeyBack, "");
    }
  } else if (key_code == vbKeyDelete) {
    EditActiveText(vbKeyDelete, "");
  }
  EventArgs up{*control, false, 0, key_code, shift};
  control->Raise(Event::kKeyUp, up);
}

void Form::TabFrom(bool backwards) {
  std::vector<Control*> order = TabOrder();
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), active_);
  Control* next = nullptr;
  if (at == order.end()) {
    next = backwards ? order.back() : order.front();
  } else {
    const size_t size = order.size();
    const size_t position = static_cast<size_t>(at - order.begin());
    next = order[backwards ? (position + size - 1) % size : (position + 1) % size];
  }
  MoveFocus(next);
}

void Form::UserReplaceText(TextBox& text_box, std::string_view text) {
  UserFocus(text_box);
  if (active_ != &text_box || text_box.Locked()) return;
  text_box.Select(0, static_cast<int>(text_box.Text().size()));
  text_box.ReplaceSelection(std::string(text));
}

void Form::UserSelectRow(DataCombo& combo, int row) {
  UserFocus(combo);
  if (active_ != &combo) return;
  combo.SelectRow(row);
  combo.Raise(Event::kClick);
}

void Form::UserPickDate(DatePicker& picker, std::optional<vb::Date> date) {
  UserFocus(picker);
  if (active_ != &picker) return;
  picker.Value(date);
}

void Form::UserClose() { Unload(); }

void Form::SendKeys(std::string_view keys) {
  size_t i = 0;
  while (i < keys.size()) {
    int shift = 0;
    if (keys[i] == '+' && i + 1 < keys.size() && keys[i + 1] == '{') {
      shift = vbShiftMask;
      ++i;
    }
    if (keys[i] == '{') {
      size_t close = keys.find('}', i + 1);
      if (close == std::string_view::npos) throw vb::Error::InvalidCall(name_);
      const std::string key = vb::UCase(keys.substr(i + 1, close - i - 1));
      i = close + 1;
      if (key == "TAB") {
        UserKey(vbKeyTab, shift);
      } else if (key == "ENTER") {
        UserKey(vbKeyReturn, shift);
      } else if (key == "ESC" || key == "ESCAPE") {
        UserKey(vbKeyEscape, shift);
      } else if (key == "BS" || key == "BACKSPACE" || key == "BKSP") {
        UserKey(vbKeyBack, shift);
      } else if (key == "DEL" || key == "DELETE") {
        UserKey(vbKeyDelete, shift);
      } else if (key.size() == 1) {
        UserType(key);
      } else {
        throw vb::Error::Numbered(vb::err::kInvalidCall, name_, key);
      }
    } else if (keys[i] == '~') {
      UserKey(vbKeyReturn);
      ++i;
    } else {
      UserType(keys.substr(i, 1));
      ++i;
    }
  }
}

vb::Variant Form::Get(std::string_view name, object::Args args) {
  EnsureBuilt();
  bool is_array = !Indexes(name).empty();
  if (is_array) {
    auto array = std::make_shared<LateBoundArray>(
        std::static_pointer_cast<Form>(shared_from_this()), std::string(name));
    if (args.empty()) return vb::ObjectRef(array);
    return array->Get("", args);
  }
  if (Control* control = Find(name)) {
    if (!args.empty()) throw vb::Error::Numbered(343, name_, std::string(name));
    return vb::ObjectRef(control->shared_from_this());
  }
  if (!args.empty()) ThrowNoSuchMember(name);
  if (SameName(name, "Caption")) return caption_;
  if (SameName(name, "Visible")) return visible_;
  if (SameName(name, "Width")) return width_;
  if (SameName(name, "Height")) return height_;
  if (SameName(name, "Name")) return name_;
  if (SameName(name, "ActiveControl")) {
    if (active_ == nullptr) throw vb::Error::ObjectNotSet(name_);
    return vb::ObjectRef(active_->shared_from_this());
  }
  ThrowNoSuchMember(name);
}

void Form::Let(std::string_view name, const vb::Variant& value, object::Args args) {
  EnsureBuilt();
  if (!Indexes(name).empty() && args.size() == 1) {
    Ctl(name, vb::CLng(args[0])).Let("", value);
    return;
  }
  if (Control* control = Find(name); control != nullptr && args.empty()) {
    control->Let("", value);
    return;
  }
  if (!args.empty()) ThrowNoSuchMember(name);
  if (SameName(name, "Caption")) return Caption(vb::CStr(value));
  if (SameName(name, "Width")) return Size(vb::CLng(value), height_);
  if (SameName(name, "Height")) return Size(width_, vb::CLng(value));
  if (SameName(name, "Visible")) {
    if (vb::CBool(value)) return Show(vbModeless);
    return Hide();
  }
  ThrowNoSuchMember(name);
}

vb::Variant Form::Call(std::string_view name, object::Args args) {
  if (SameName(name, "Show")) {
    Show(args.empty() ? vbModeless : vb::CLng(args[0]));
    return {};
  }
  if (SameName(name, "Hide") && args.empty()) {
    Hide();
    return {};
  }
  if (SameName(name, "Unload") && args.empty()) {
    Unload();
    return {};
  }
  return Get(name, args);
}

void Form::NotifyControlChanged(Control& control) {
  if (observer_ != nullptr) observer_->ControlChanged(control);
}

void Form::NotifyFormChanged() {
  if (observer_ != nullptr) observer_->FormChanged();
}

void Form::Adopt(std::shared_ptr<Control> control) {
  control->TabIndex(static_cast<int>(controls_.size()));
  controls_.push_back(std::move(control));
}

std::vector<Control*> Form::ArrayElements(std::string_view name) const {
  std::vector<Control*> elements;
  for (const auto& control : controls_) {
    if (control->IsArrayElement() && SameName(control->Name(), name)) {
      elements.push_back(control.get());
    }
  }
  return elements;
}

}  // namespace kvt::ui
