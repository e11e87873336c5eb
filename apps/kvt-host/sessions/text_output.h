// A report output without a toolkit, for the host built without Qt: each
// document is written as the text of its pages (one line per text, line
// and box drawn, with its position and font), which diffs and greps well.
// It draws nothing, so there is no PDF, no preview window and no printer.
#pragma once

#include <string>

#include "platform/report/output.h"

namespace kvt::host {

class TextOutput : public report::Output {
 public:
  // `preview_path`: where a previewed document is written; empty writes
  // none.
  explicit TextOutput(std::string preview_path = {}) : preview_path_(std::move(preview_path)) {}

  void Preview(const report::Document& document, const std::string& device_name) override;
  // Raises 482: there is no printer without a toolkit.
  bool Print(const report::Document& document, const std::string& device_name) override;
  // Writes the text of `document` (not a PDF) at `path`, replacing it; the
  // file is complete or left as it was. Raises 75 when it cannot be written.
  void ExportPdf(const report::Document& document, const std::string& path) override;

 private:
  std::string preview_path_;
};

}  // namespace kvt::host
