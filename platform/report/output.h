// report::Output — where a finished document goes: a preview window, a
// printer or a PDF file. The Qt implementations live in frontends/qt/report;
// documents/ code sees only this interface.
#pragma once

#include <string>

#include "platform/report/display_list.h"

namespace kvt::report {

// Run-time error numbers an output raises.
inline constexpr int32_t kPrinterError = 482;
inline constexpr int32_t kPathFileAccessError = 75;

class Output {
 public:
  virtual ~Output() = default;

  // Shows `document` in a modal preview window and returns when the user
  // closes it. Printing from the window goes to `device_name` (empty, or a
  // name no installed printer has: the system's default printer).
  virtual void Preview(const Document& document,
                       const std::string& device_name) = 0;
  // Offers the print dialog preset to `device_name` (resolved as above) and
  // prints when the user accepts. Returns false when the user cancels.
  // Raises 482 when there is no printer at all or the job is refused.
  virtual bool Print(const Document& document,
                     const std::string& device_name) = 0;
  // Writes `document` as a PDF file at `path`, replacing it; the file is
  // either complete or left as it was. Raises 75 when it cannot be written.
  virtual void ExportPdf(const Document& document, const std::string& path) = 0;
};

}  // namespace kvt::report
