// kvt::qt::QtDriver — shows forms and message boxes with Qt Widgets. Any
// ui::Form is rendered from its model: one widget per control at its twips
// geometry (15 twips to a pixel), kept in step with the model both ways, the
// user's keys, clicks and focus moves turned into the model's user input so
// the form's handlers run as they do headless. A QApplication must exist on
// the calling thread.
#pragma once

#include <string>

#include "platform/ui/driver.h"

namespace kvt::qt {

// Pixels for a length in twips (15 twips to a pixel, rounded).
int TwipsToPixels(int twips);

class QtDriver : public ui::Driver {
 public:
  // Runs `form` as an application-modal QDialog with no parent window;
  // returns once the form is hidden or unloaded. Closing the window unloads
  // the form.
  void RunModal(ui::Form& form) override;
  // A QMessageBox with no parent: the icon, buttons and default button of
  // `buttons`, `title` as the window title. Returns the answer (vbOK,
  // vbYes, ...); closing the box answers as its Cancel (or only) button.
  int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
};

}  // namespace kvt::qt
