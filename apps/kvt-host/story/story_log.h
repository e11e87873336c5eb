// The transcript of the purchasing story: numbered headings, what each step
// checked, the message boxes the scripted users saw, and tables with blanks
// where a value is missing.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/headless_driver.h"
#include "platform/value/variant.h"

namespace kvt::host {

using Script = std::function<void(ui::HeadlessDriver&)>;

class StoryLog {
 public:
  explicit StoryLog(std::ostream& out) : out_(out) {}

  std::ostream& Out() { return out_; }
  // A blank line and "== N. title ==", numbered from 1.
  void Heading(const std::string& title);
  // `text` on a line of its own, indented by `indent` blanks.
  void Line(const std::string& text, int indent = 0);
  // "  checked: what" when `ok`, else "  FAILED: what" (counted).
  bool Check(bool ok, const std::string& what);
  int Failures() const { return failures_; }
  // The prompts of the message boxes the last scripted user saw.
  const std::vector<std::string>& LastPrompts() const { return prompts_; }

  // Runs `action` while a scripted user plays `script`; then prints each
  // message box the user saw and each step that did not fit (a failure).
  template <class Action>
  auto AsUser(const Script& script, Action&& action) {
    auto user = std::make_shared<ui::HeadlessDriver>();
    if (script) script(*user);
    struct Report {
      StoryLog& log;
      ui::HeadlessDriver& user;
      ~Report() { log.Saw(user); }
    } report{*this, *user};
    ui::ScopedDriver installed(user);
    return action();
  }

  // Prints rows under headers; columns whose header starts with '>' are
  // right-aligned (the '>' is not printed).
  void Table(const std::vector<std::string>& headers,
             const std::vector<std::vector<std::string>>& rows);

 private:
  void Saw(const ui::HeadlessDriver& user);

  std::ostream& out_;
  int steps_ = 0;
  int failures_ = 0;
  std::vector<std::string> prompts_;
};

// A value as the transcript shows it: blank for Null or Empty, amounts
// with two decimals and grouping ("1,234.50"), anything else as text.
std::string Shown(const vb::Variant& value);
// A quantity as a user reads it ("12", "2.5").
std::string Qty(double qty);
// An amount as "1,234.50".
std::string Money(const vb::Variant& value);

}  // namespace kvt::host
