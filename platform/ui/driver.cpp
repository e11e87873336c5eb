#include "platform/ui/driver.h"

#include "platform/ui/headless_driver.h"
#include "platform/ui/msg_box.h"

namespace kvt::ui {

namespace {

std::shared_ptr<Driver>& Installed() {
  thread_local std::shared_ptr<Driver> driver;
  return driver;
}

}  // namespace

Driver& CurrentDriver() {
  std::shared_ptr<Driver>& driver = Installed();
  if (!driver) driver = std::make_shared<HeadlessDriver>();
  return *driver;
}

std::shared_ptr<Driver> SetDriver(std::shared_ptr<Driver> driver) {
  std::shared_ptr<Driver> previous = std::move(Installed());
  Installed() = std::move(driver);
  return previous;
}

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  return CurrentDriver().MsgBox(prompt, buttons,
                                title.empty() ? kDefaultMsgBoxTitle : title);
}

std::vector<int> MsgBoxAnswers(int buttons) {
  switch (buttons & 0x7) {
    case vbOKCancel:
      return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
      return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
      return {vbYes, vbNo, vbCancel};
    case vbYesNo:
      return {vbYes, vbNo};
    case vbRetryCancel:
      return {vbRetry, vbCancel};
    default:
      return {vbOK};
  }
}

int MsgBoxDefaultAnswer(int buttons) {
  std::vector<int> answers = MsgBoxAnswers(buttons);
  size_t position = static_cast<size_t>((buttons & 0x300) >> 8);
  return answers[position < answers.size() ? position : 0];
}

}  // namespace kvt::ui
