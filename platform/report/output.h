// report::Output — where a finished document goes: a preview window, a
// printer or a PDF file. The Qt implementations live in frontends/qt/report;
// documents/ code sees only this interface.
#pragma once

#include <memory>
#include <string>

#include "platform/report/display_list.h"
#include "platform/report/text_metrics.h"

namespace kvt::report {

// Run-time error numbers an output raises.
inline constexpr int32_t kPrinterError = 482;
inline constexpr int32_t kPathFileAccessError = 75;

class Output {
 public:
  virtual ~Output() = default;

  // How text measures where this output draws it; reports are run with
  // these metrics before they are handed over. StandardTextMetrics() unless
  // an output knows its fonts better.
  virtual const TextMetrics& Metrics() const { return StandardTextMetrics(); }

  // Shows `document` in a modal preview window and returns when the user
  // closes it. Printing from the window goes to `device_name` (empty, or a
  // name no installed printer has: the system's default printer).
  virtual void Preview(const Document& document, const std::string& device_name) = 0;
  // Offers the print dialog preset to `device_name` (resolved as above) and
  // prints when the user accepts. Returns false when the user cancels.
  // Raises 482 when there is no printer at all or the job is refused.
  virtual bool Print(const Document& document, const std::string& device_name) = 0;
  // Writes `document` as a PDF file at `path`, replacing it; the file is
  // either complete or left as it was. Raises 75 when it cannot be written.
  virtual void ExportPdf(const Document& document, const std::string& path) = 0;
};

// The calling thread's output, installed by the host (the Qt dialogs on
// screen, the headless output in batch runs). Without one installed the
// thread's documents go nowhere: previews close at once, the print dialog
// is cancelled, and a PDF export raises 75.
Output& CurrentOutput();
// Installs `output` for the calling thread (nullptr restores the default)
// and returns the one it replaces.
std::shared_ptr<Output> SetOutput(std::shared_ptr<Output> output);

// Installs an output for a scope and restores the previous one after.
class ScopedOutput {
 public:
  explicit ScopedOutput(std::shared_ptr<Output> output) : previous_(SetOutput(std::move(output))) {}
  ~ScopedOutput() { SetOutput(std::move(previous_)); }
  ScopedOutput(const ScopedOutput&) = delete;
  ScopedOutput& operator=(const ScopedOutput&) = delete;

 private:
  std::shared_ptr<Output> previous_;
};

}  // namespace kvt::report
