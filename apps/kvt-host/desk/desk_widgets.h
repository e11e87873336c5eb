// Pieces every screen of the desk is made of. The screens never let a
// failure escape into Qt's event loop: a command that fails is reported to
// the user in a message box, and the screen stays as it was.
#pragma once

#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/value/error.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace kvt::host {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Tells the user that `doing` failed and why, over `parent`: `why` in words,
// or `error` in plain words (services/failure_words.h).
void ReportFailure(QWidget* parent, const std::string& doing, const std::string& why);
void ReportFailure(QWidget* parent, const std::string& doing, const vb::Error& error);

// Runs `action`; a failure is reported as `doing`'s. True when it ran.
template <class Action>
bool Guarded(QWidget* parent, const std::string& doing, Action&& action) {
  try {
    action();
    return true;
  } catch (const vb::Error& error) {
    ReportFailure(parent, doing, error);
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
// What the user answered when asked about unsaved work.
enum class LeaveAnswer { kSave, kDiscard, kGoBack };
// Asks, over `parent`, whether to save, discard or go back to the unsaved
// work `text` describes; going back is the default.
LeaveAnswer AskToLeave(QWidget* parent, const std::string& title, const std::string& text,
                       const std::string& question);

// A "Totals" box bottom-right of a screen: one right-aligned figure per
// caption, the one at `bold` in bold. The figures, named `name`1, `name`2...,
// are appended to `values`.
QGroupBox* TotalsBox(const std::vector<std::string>& captions, size_t bold, const QString& name,
                     std::vector<QLabel*>& values, QWidget* parent);
// A grey explanatory line that wraps.
QLabel* NoteLabel(const QString& text, QWidget* parent);

}  // namespace kvt::host
