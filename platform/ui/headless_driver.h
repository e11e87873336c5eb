// kvt::ui::HeadlessDriver — a scripted user. Steps are queued up front and
// played in order: while a modal form runs, each step acts on it (type,
// focus, press keys, click, close); a message box takes the next step when
// that is an answer, else its default button. Every message box shown is
// recorded. When the script runs dry while a form is still shown, the user
// closes its window (the form unloads), so a run never hangs.
//
// Controls are named as code names them: "txtDelAddr(0)", "chkShow".
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/driver.h"
#include "platform/value/date.h"

namespace kvt::ui {

class Control;

class HeadlessDriver : public Driver {
 public:
  struct Message {
    std::string prompt;
    int buttons = 0;
    std::string title;
    int answer = 0;
  };

  // Script steps; each returns *this for chaining.
  HeadlessDriver& Focus(std::string control);
  HeadlessDriver& Click(std::string control);
  // Clicks into the control, then types `text` key by key.
  HeadlessDriver& Type(std::string control, std::string text);
  // Clicks into the text box and replaces all of its text in one edit.
  HeadlessDriver& Replace(std::string control, std::string text);
  // A key to the focused control (vbKeyTab, vbKeyReturn, ...).
  HeadlessDriver& Press(int key_code, int shift = 0);
  HeadlessDriver& SelectRow(std::string control, int row);
  HeadlessDriver& PickDate(std::string control, std::optional<vb::Date> date);
  // The window's close box.
  HeadlessDriver& Close();
  // The answer to the next message box.
  HeadlessDriver& Answer(int answer);
  // Runs `check` against the shown form (for looking while it is open).
  HeadlessDriver& Inspect(std::function<void(Form&)> check);

  void RunModal(Form& form) override;
  int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;

  const std::vector<Message>& Messages() const { return messages_; }
  // Steps that could not be played (unknown control, an answer with no
  // message box), as readable lines; empty when the script fitted.
  const std::vector<std::string>& Problems() const { return problems_; }
  // Forms shown modally, by caption, in order.
  const std::vector<std::string>& Shown() const { return shown_; }
  size_t PendingSteps() const { return steps_.size(); }

 private:
  enum class Kind {
    kFocus,
    kClick,
    kType,
    kReplace,
    kPress,
    kSelectRow,
    kPickDate,
    kClose,
    kAnswer,
    kInspect
  };
  struct Step {
    explicit Step(Kind step_kind, std::string step_control = {}, std::string step_text = {},
                  int step_number = 0, int step_shift = 0)
        : kind(step_kind),
          control(std::move(step_control)),
          text(std::move(step_text)),
          number(step_number),
          shift(step_shift) {}
    Kind kind;
    std::string control;
    std::string text;
    int number = 0;
    int shift = 0;
    std::optional<vb::Date> date;
    std::function<void(Form&)> check;
  };

  HeadlessDriver& Push(Step step);
  void Play(Form& form, const Step& step);
  Control* Resolve(Form& form, const std::string& control);

  std::deque<Step> steps_;
  std::vector<Message> messages_;
  std::vector<std::string> problems_;
  std::vector<std::string> shown_;
};

}  // namespace kvt::ui
