// Pieces every screen of the desk is made of. The screens never let a
// failure escape into Qt's event loop: a command that fails is reported to
// the user in a message box, and the screen stays as it was.
#pragma once

#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <string>

#include "platform/value/error.h"

class QLabel;
class QPushButton;

namespace kvt::host {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Tells the user that `doing` failed and why, over `parent`.
void ReportFailure(QWidget* parent, const std::string& doing, const std::string& why);

// Runs `action`; a failure is reported as `doing`'s. True when it ran.
template <class Action>
bool Guarded(QWidget* parent, const std::string& doing, Action&& action) {
  try {
    action();
    return true;
  } catch (const vb::Error& error) {
    ReportFailure(parent, doing, error.description());
  } catch (const std::exception& error) {
    ReportFailure(parent, doing, error.what());
  }
  return false;
}

// A button named `name` that runs `action` guarded as `doing`'s.
QPushButton* CommandButton(const char* text, const char* name, QWidget* parent,
                           const std::string& doing, std::function<void()> action);
// A screen's heading, larger and bold.
QLabel* Heading(const QString& text, QWidget* parent);
// A grey explanatory line that wraps.
QLabel* NoteLabel(const QString& text, QWidget* parent);

}  // namespace kvt::host
