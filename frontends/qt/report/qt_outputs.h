// The Qt implementations of report::Output. Both need a QGuiApplication
// (DialogOutput a QApplication) on the calling thread; without one they
// raise 482 rather than abort.
#pragma once

#include <string>

#include "platform/report/output.h"

namespace kvt::qt {

// For a user at a screen: a modal QPrintPreviewDialog, and a QPrintDialog
// before every print.
class DialogOutput : public report::Output {
 public:
  const report::TextMetrics& Metrics() const override;
  void Preview(const report::Document& document, const std::string& device_name) override;
  bool Print(const report::Document& document, const std::string& device_name) override;
  void ExportPdf(const report::Document& document, const std::string& path) override;
};

// For batch runs and tests: nothing is shown. Preview writes the document
// as a PDF to the preview path (when one is set); the print dialog is
// answered with the set answer (accept unless told otherwise) and the job
// goes to the resolved printer.
class HeadlessOutput : public report::Output {
 public:
  explicit HeadlessOutput(std::string preview_pdf_path = {})
      : preview_pdf_path_(std::move(preview_pdf_path)) {}

  void SetPrintDialogAnswer(bool accept) { accept_print_ = accept; }

  const report::TextMetrics& Metrics() const override;

  void Preview(const report::Document& document, const std::string& device_name) override;
  bool Print(const report::Document& document, const std::string& device_name) override;
  void ExportPdf(const report::Document& document, const std::string& path) override;

  // Name of the printer the last job was sent to; empty before any.
  const std::string& LastPrinter() const { return last_printer_; }

 private:
  std::string preview_pdf_path_;
  bool accept_print_ = true;
  std::string last_printer_;
};

}  // namespace kvt::qt
