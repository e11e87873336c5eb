// A small form for the ui tests: every event it sees goes into a log.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/form.h"

namespace kvt::ui::testing {

class LoggingForm : public Form {
 public:
  LoggingForm() : Form("frmTest") {}

  std::vector<std::string> log;
  bool refuse_validate_of_first = false;
  bool swallow_digits = false;
  int loads = 0;

  // Joined log entries, then cleared, so assertions read as sentences.
  std::string TakeLog() {
    std::string joined;
    for (const auto& entry : log) joined += (joined.empty() ? "" : " ") + entry;
    log.clear();
    return joined;
  }

 protected:
  void Build() override {
    Caption("Test");
    Add<Label>("lblTitle").Caption("Title");
    for (int i = 0; i < 3; ++i) Watch(Add<TextBox>("txtField", i));
    Watch(Add<CheckBox>("chkFlag"));
    Watch(Add<OptionButton>("optGroup", 0));
    Watch(Add<OptionButton>("optGroup", 1));
    auto& ok = Add<CommandButton>("cmdGo", 0);
    ok.Caption("&OK");
    ok.Default(true);
    Watch(ok);
    auto& cancel = Add<CommandButton>("cmdGo", 1);
    cancel.Caption("&Cancel");
    cancel.Cancel(true);
    Watch(cancel);
    Watch(Add<DataCombo>("dbcList"));
  }
  void OnLoad() override { ++loads; }

 private:
  static std::string Id(const Control& c) {
    return c.IsArrayElement() ? c.Name() + "(" + std::to_string(c.Index()) + ")" : c.Name();
  }
  void Watch(Control& c) {
    const std::pair<Event, const char*> events[] = {{Event::kChange, "Change"},
                                                    {Event::kClick, "Click"},
                                                    {Event::kGotFocus, "GotFocus"},
                                                    {Event::kLostFocus, "LostFocus"},
                                                    {Event::kValidate, "Validate"}};
    for (const auto& [event, name] : events) {
      c.On(event, [this, label = std::string(name)](EventArgs& args) {
        log.push_back(Id(args.control) + "." + label);
        if (label == "Validate" && refuse_validate_of_first && Id(args.control) == "txtField(0)") {
          args.cancel = true;
        }
      });
    }
    c.On(Event::kKeyPress, [this](EventArgs& args) {
      if (swallow_digits && args.key_ascii >= '0' && args.key_ascii <= '9') {
        args.key_ascii = 0;
      }
    });
  }
};

}  // namespace kvt::ui::testing
