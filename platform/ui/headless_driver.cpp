#include "platform/ui/headless_driver.h"

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/form.h"
#include "platform/ui/msg_box.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"

namespace kvt::ui {

HeadlessDriver& HeadlessDriver::Push(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

HeadlessDriver& HeadlessDriver::Focus(std::string control) {
  return Push(Step(Kind::kFocus, std::move(control)));
}

HeadlessDriver& HeadlessDriver::Click(std::string control) {
  return Push(Step(Kind::kClick, std::move(control)));
}

HeadlessDriver& HeadlessDriver::Type(std::string control, std::string text) {
  return Push(Step(Kind::kType, std::move(control), std::move(text)));
}

HeadlessDriver& HeadlessDriver::Replace(std::string control, std::string text) {
  return Push(Step(Kind::kReplace, std::move(control), std::move(text)));
}

HeadlessDriver& HeadlessDriver::Press(int key_code, int shift) {
  return Push(Step(Kind::kPress, {}, {}, key_code, shift));
}

HeadlessDriver& HeadlessDriver::SelectRow(std::string control, int row) {
  return Push(Step(Kind::kSelectRow, std::move(control), {}, row));
}

HeadlessDriver& HeadlessDriver::PickDate(std::string control, std::optional<vb::Date> date) {
  Step step(Kind::kPickDate, std::move(control));
  step.date = date;
  return Push(std::move(step));
}

HeadlessDriver& HeadlessDriver::Close() { return Push(Step(Kind::kClose)); }

HeadlessDriver& HeadlessDriver::Answer(int answer) {
  return Push(Step(Kind::kAnswer, {}, {}, answer));
}

HeadlessDriver& HeadlessDriver::Inspect(std::function<void(Form&)> check) {
  Step step(Kind::kInspect);
  step.check = std::move(check);
  return Push(std::move(step));
}

Control* HeadlessDriver::Resolve(Form& form, const std::string& control) {
  std::string name = control;
  int index = -1;
  size_t open = control.find('(');
  if (open != std::string::npos && control.back() == ')') {
    name = control.substr(0, open);
    const auto number =
        vb::ReadPlainInteger(std::string_view(control).substr(open + 1, control.size() - open - 2));
    index = number && *number >= 0 && *number <= INT32_MAX ? static_cast<int>(*number) : -2;
  }
  Control* found = form.Find(name, index);
  if (found == nullptr) {
    problems_.push_back("no control " + control + " on " + form.TypeName());
  }
  return found;
}

void HeadlessDriver::Play(Form& form, const Step& step) {
  switch (step.kind) {
    case Kind::kFocus:
      if (Control* c = Resolve(form, step.control)) form.UserFocus(*c);
      break;
    case Kind::kClick:
      if (Control* c = Resolve(form, step.control)) form.UserClick(*c);
      break;
    case Kind::kType:
      if (Control* c = Resolve(form, step.control)) {
        form.UserClick(*c);
        if (form.ActiveControl() == c) form.UserType(step.text);
      }
      break;
    case Kind::kReplace:
      if (Control* c = Resolve(form, step.control)) {
        if (auto* text_box = dynamic_cast<TextBox*>(c)) {
          form.UserReplaceText(*text_box, step.text);
        } else {
          problems_.push_back(step.control + " is no text box");
        }
      }
      break;
    case Kind::kPress: form.UserKey(step.number, step.shift); break;
    case Kind::kSelectRow:
      if (Control* c = Resolve(form, step.control)) {
        if (auto* combo = dynamic_cast<DataCombo*>(c)) {
          form.UserSelectRow(*combo, step.number);
        } else {
          problems_.push_back(step.control + " is no list");
        }
      }
      break;
    case Kind::kPickDate:
      if (Control* c = Resolve(form, step.control)) {
        if (auto* picker = dynamic_cast<DatePicker*>(c)) {
          form.UserPickDate(*picker, step.date);
        } else {
          problems_.push_back(step.control + " is no date picker");
        }
      }
      break;
    case Kind::kClose: form.UserClose(); break;
    case Kind::kAnswer:
      problems_.push_back("answer " + std::to_string(step.number) + " with no message box shown");
      break;
    case Kind::kInspect: step.check(form); break;
  }
}

void HeadlessDriver::RunModal(Form& form) {
  auto keep_alive = form.shared_from_this();
  shown_.push_back(form.Caption());
  while (form.Loaded() && form.Visible()) {
    if (steps_.empty()) {
      problems_.push_back("script ended with " + form.TypeName() + " still shown; closed it");
      form.UserClose();
      // An Unload handler may refuse; the run must still end.
      if (form.Loaded() && form.Visible()) form.Hide();
      break;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    try {
      Play(form, step);
    } catch (const vb::Error& error) {
      // An error a handler does not trap ends the program on the platform;
      // here it is recorded and the user goes on.
      problems_.push_back("error " + std::to_string(error.number()) + ": " + error.description());
    } catch (const std::exception& error) {
      problems_.push_back(std::string("failure: ") + error.what());
    }
  }
}

int HeadlessDriver::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  int answer = MsgBoxDefaultAnswer(buttons);
  if (!steps_.empty() && steps_.front().kind == Kind::kAnswer) {
    answer = steps_.front().number;
    steps_.pop_front();
  }
  messages_.push_back(Message{prompt, buttons, title, answer});
  return answer;
}

}  // namespace kvt::ui
