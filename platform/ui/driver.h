// kvt::ui::Driver — what shows forms and message boxes to the user. One
// driver per thread: the Qt front end on screen, the headless driver for
// tests and batch runs. Without one installed, a thread uses a headless
// driver with no script (message boxes take their default button, modal
// forms close at once).
#pragma once

#include <memory>
#include <string>

namespace kvt::ui {

class Form;

class Driver {
 public:
  virtual ~Driver() = default;
  // Runs `form`, already loaded and visible, as a modal dialog with no
  // owner window; returns once it is hidden or unloaded.
  virtual void RunModal(Form& form) = 0;
  // Shows a message box; returns the button chosen (vbOK, vbYes, ...).
  virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
};

// The calling thread's driver.
Driver& CurrentDriver();
// Installs `driver` for the calling thread (nullptr restores the default)
// and returns the one it replaces.
std::shared_ptr<Driver> SetDriver(std::shared_ptr<Driver> driver);

// Installs a driver for a scope and restores the previous one after.
class ScopedDriver {
 public:
  explicit ScopedDriver(std::shared_ptr<Driver> driver) : previous_(SetDriver(std::move(driver))) {}
  ~ScopedDriver() { SetDriver(std::move(previous_)); }
  ScopedDriver(const ScopedDriver&) = delete;
  ScopedDriver& operator=(const ScopedDriver&) = delete;

 private:
  std::shared_ptr<Driver> previous_;
};

}  // namespace kvt::ui
