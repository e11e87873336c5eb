// Where the desk's documents go: the preview window and the printer, told
// plainly when there is no printer (the document is offered as a PDF) or
// when the chosen printer is gone, with files proposed as <number>.pdf in
// the working folder and long jobs shown with a progress bar that can
// cancel them.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/report/output.h"

class QPrinter;

namespace kvt::host {

class DeskOutput : public report::Output {
 public:
  // Dialogs open over `window` (may be null).
  explicit DeskOutput(QWidget* window = nullptr) : window_(window) {}

  void SetWindow(QWidget* window) { window_ = window; }
  // The number of the document that comes next ("PO000102"): its print job
  // and file are named after it.
  void SetDocumentName(std::string name) { document_name_ = std::move(name); }
  // <document name>.pdf in the working folder.
  std::string ProposedPdfPath() const;

  const report::TextMetrics& Metrics() const override;
  void Preview(const report::Document& document, const std::string& device_name) override;
  bool Print(const report::Document& document, const std::string& device_name) override;
  void ExportPdf(const report::Document& document, const std::string& path) override;

  // Asks where to save `document` as a PDF (proposing ProposedPdfPath) and
  // writes it; false when the buyer cancels. Failures are shown, not raised.
  bool SavePdfAs(const report::Document& document);

 private:
  // Paints every page on `printer`, with a progress dialog that may cancel
  // the job (the printer then aborts it). False when cancelled.
  bool PaintWithProgress(const report::Document& document, QPrinter& printer);
  std::string Title() const;

  QPointer<QWidget> window_;
  std::string document_name_;
};

// What the desk says about `device_name` before printing: empty when it is
// installed (or none was chosen), else which printer is used instead.
std::string VanishedPrinterNote(const std::string& device_name);

}  // namespace kvt::host
