#include "platform/ui/driver.h"

#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"
#include "platform/value/thread_slot.h"

namespace kvt::ui {

Driver& CurrentDriver() {
  return vb::ThreadSlot<Driver>::Get([] { return std::make_shared<HeadlessDriver>(); });
}

std::shared_ptr<Driver> SetDriver(std::shared_ptr<Driver> driver) {
  return vb::ThreadSlot<Driver>::Set(std::move(driver));
}

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  return CurrentDriver().MsgBox(prompt, buttons, title.empty() ? kDefaultMsgBoxTitle : title);
}

std::vector<int> MsgBoxAnswers(int buttons) {
  switch (buttons & 0x7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

int MsgBoxDefaultAnswer(int buttons) {
  std::vector<int> answers = MsgBoxAnswers(buttons);
  size_t position = static_cast<size_t>((buttons & 0x300) >> 8);
  return answers[position < answers.size() ? position : 0];
}

}  // namespace kvt::ui
