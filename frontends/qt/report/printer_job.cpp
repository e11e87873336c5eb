#include "frontends/qt/report/printer_job.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>

#include "frontends/qt/report/qt_painter.h"
#include "platform/report/output.h"
#include "platform/value/error.h"

namespace kvt::qt {
namespace {

[[noreturn]] void FailPrint(const std::string& context) {
  throw vb::Error::Numbered(report::kPrinterError, "Report", context);
}

}  // namespace

QPrinterInfo ResolvePrinter(const std::string& device_name) {
  if (!device_name.empty()) {
    const QPrinterInfo named = QPrinterInfo::printerInfo(QString::fromStdString(device_name));
    if (!named.isNull()) return named;
  }
  return QPrinterInfo::defaultPrinter();
}

void PreparePrinter(QPrinter& printer, const report::Document& document,
                    const std::string& device_name) {
  const QPrinterInfo info = ResolvePrinter(device_name);
  if (info.isNull()) FailPrint("no printer installed");
  printer.setPrinterName(info.printerName());
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setDocName(QString::fromStdString(document.title));
  printer.setFullPage(true);
  const report::PageSetup& setup = document.page_setup;
  printer.setPageLayout(QPageLayout(
      QPageSize(QSizeF(setup.paper_width / 1440.0, setup.paper_height / 1440.0), QPageSize::Inch),
      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

void PaintOnPrinter(const report::Document& document, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) FailPrint(printer.printerName().toStdString());
  QtPainter qt_painter(painter, printer.resolution(), [&printer] { printer.newPage(); });
  report::PaintDocument(document, qt_painter);
  painter.end();
  if (printer.printerState() == QPrinter::Error) {
    FailPrint(printer.printerName().toStdString());
  }
}

}  // namespace kvt::qt
