#include "frontends/qt/report/pdf_writer.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>

#include "frontends/qt/report/qt_painter.h"
#include "platform/report/output.h"
#include "platform/value/error.h"

namespace kvt::qt {
namespace {

constexpr int kTwipsPerInch = 1440;

// The reason (a full disk, a missing folder) is the news: it goes into the
// description that every message shows, not the context alone.
[[noreturn]] void FailWrite(const std::string& path, const QString& reason) {
  throw vb::Error(report::kPathFileAccessError, "Report",
                  "The file " + path + " could not be written: " + reason.toStdString(),
                  path + ": " + reason.toStdString());
}

}  // namespace

void WritePdf(const report::Document& document, const std::string& path) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) FailWrite(path, file.errorString());
  {
    QPdfWriter writer(&file);
    writer.setResolution(kTwipsPerInch);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("KvtSuppliers"));
    const report::PageSetup& setup = document.page_setup;
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(setup.paper_width / double(kTwipsPerInch),
                                                      setup.paper_height / double(kTwipsPerInch)),
                                               QPageSize::Inch),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) {
      file.cancelWriting();
      FailWrite(path, QStringLiteral("cannot start the PDF"));
    }
    QtPainter qt_painter(painter, kTwipsPerInch, [&writer] { writer.newPage(); });
    try {
      report::PaintDocument(document, qt_painter);
    } catch (...) {
      painter.end();
      file.cancelWriting();
      throw;
    }
    painter.end();
  }
  if (!file.commit()) FailWrite(path, file.errorString());
}

}  // namespace kvt::qt
