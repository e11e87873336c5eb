#include "frontends/qt/ui/qt_driver.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "frontends/qt/ui/form_dialog.h"
#include "platform/ui/msg_box.h"

namespace kvt::qt {

namespace {

constexpr int kTwipsPerPixel = 15;

QMessageBox::StandardButton ButtonFor(int answer) {
  switch (answer) {
    case ui::vbCancel: return QMessageBox::Cancel;
    case ui::vbAbort: return QMessageBox::Abort;
    case ui::vbRetry: return QMessageBox::Retry;
    case ui::vbIgnore: return QMessageBox::Ignore;
    case ui::vbYes: return QMessageBox::Yes;
    case ui::vbNo: return QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconFor(int buttons) {
  switch (ui::MsgBoxIcon(buttons)) {
    case ui::vbCritical: return QMessageBox::Critical;
    case ui::vbQuestion: return QMessageBox::Question;
    case ui::vbExclamation: return QMessageBox::Warning;
    case ui::vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

int TwipsToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

void QtDriver::RunModal(ui::Form& form) {
  auto keep_alive = form.shared_from_this();
  FormDialog dialog(form);
  form.SetObserver(&dialog);
  // The focus the form chose on showing is given to its widget once the
  // window is up.
  QTimer::singleShot(0, &dialog, [&] { dialog.FocusChanged(form.ActiveControl()); });
  if (form.Loaded() && form.Visible()) dialog.exec();
  form.SetObserver(nullptr);
}

int QtDriver::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  QMessageBox box;
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(prompt));
  box.setIcon(IconFor(buttons));
  const std::vector<int> answers = ui::MsgBoxAnswers(buttons);
  for (int answer : answers) box.addButton(ButtonFor(answer));
  box.setDefaultButton(ButtonFor(ui::MsgBoxDefaultAnswer(buttons)));
  if (std::find(answers.begin(), answers.end(), ui::vbCancel) != answers.end()) {
    box.setEscapeButton(ButtonFor(ui::vbCancel));
  } else if (answers.size() == 1) {
    box.setEscapeButton(ButtonFor(answers.front()));
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (int answer : answers) {
    if (clicked != nullptr && clicked == box.button(ButtonFor(answer))) return answer;
  }
  return ui::MsgBoxDefaultAnswer(buttons);
}

}  // namespace kvt::qt
