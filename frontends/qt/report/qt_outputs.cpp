#include "frontends/qt/report/qt_outputs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/printer_job.h"
#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/report/painter.h"
#include "platform/value/error.h"

namespace kvt::qt {
namespace {

// Qt aborts the process when painting text without an application object;
// a missing one is a failure of this call instead.
void RequireGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    throw vb::Error::Numbered(report::kPrinterError, "Report", "no QGuiApplication");
  }
}

void RequireWidgetApplication() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    throw vb::Error::Numbered(report::kPrinterError, "Report", "no QApplication");
  }
}

}  // namespace

const report::TextMetrics& DialogOutput::Metrics() const { return CurrentFontMetrics(); }

void DialogOutput::Preview(const report::Document& document, const std::string& device_name) {
  RequireWidgetApplication();
  QPrinter printer(QPrinter::HighResolution);
  try {
    PreparePrinter(printer, document, device_name);
  } catch (const vb::Error&) {
    // Without a printer the preview still shows the document; it then
    // renders as a PDF would.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setFullPage(true);
  }
  QPrintPreviewDialog dialog(&printer);
  dialog.setWindowTitle(QString::fromStdString(document.title));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&document](QPrinter* target) {
    try {
      PaintOnPrinter(document, *target);
    } catch (const vb::Error&) {
      // The preview window stays open; the user sees the
      // job did not go out and may try another printer.
    }
  });
  dialog.exec();
}

bool DialogOutput::Print(const report::Document& document, const std::string& device_name) {
  RequireWidgetApplication();
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, document, device_name);
  QPrintDialog dialog(&printer);
  dialog.setWindowTitle(QString::fromStdString(document.title));
  if (dialog.exec() != QDialog::Accepted) return false;
  PaintOnPrinter(document, printer);
  return true;
}

void DialogOutput::ExportPdf(const report::Document& document, const std::string& path) {
  RequireGuiApplication();
  WritePdf(document, path);
}

const report::TextMetrics& HeadlessOutput::Metrics() const { return CurrentFontMetrics(); }

void HeadlessOutput::Preview(const report::Document& document, const std::string&) {
  RequireGuiApplication();
  if (!preview_pdf_path_.empty()) WritePdf(document, preview_pdf_path_);
}

bool HeadlessOutput::Print(const report::Document& document, const std::string& device_name) {
  RequireGuiApplication();
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, document, device_name);
  if (!accept_print_) return false;
  PaintOnPrinter(document, printer);
  last_printer_ = printer.printerName().toStdString();
  return true;
}

void HeadlessOutput::ExportPdf(const report::Document& document, const std::string& path) {
  RequireGuiApplication();
  WritePdf(document, path);
}

}  // namespace kvt::qt
