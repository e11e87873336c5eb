#include "apps/kvt-host/desk/desk_output.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QToolBar>
#include <filesystem>

#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/file_chooser.h"
#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/printer_job.h"
#include "frontends/qt/report/qt_painter.h"
#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/report/painter.h"
#include "platform/value/error.h"
#include "services/failure_words.h"

namespace kvt::host {
namespace {

// Pages after which a job is worth a progress bar.
constexpr int kPagesWorthProgress = 3;

void SetPaper(QPrinter& printer, const report::Document& document) {
  const report::PageSetup& setup = document.page_setup;
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(
      QPageSize(QSizeF(setup.paper_width / 1440.0, setup.paper_height / 1440.0), QPageSize::Inch),
      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

}  // namespace

std::string VanishedPrinterNote(const std::string& device_name) {
  if (device_name.empty() || !QPrinterInfo::printerInfo(ToQt(device_name)).isNull()) return {};
  const std::string fallback = QPrinterInfo::defaultPrinterName().toStdString();
  if (fallback.empty()) {
    return "The printer \u201c" + device_name +
           "\u201d chosen in Settings is not installed, and there is no other printer.";
  }
  return "The printer \u201c" + device_name + "\u201d chosen in Settings is not installed; \u201c" +
         fallback + "\u201d is used instead.";
}

std::string DeskOutput::ProposedPdfPath() const {
  std::string stem = document_name_.empty() ? "document" : document_name_;
  for (char& c : stem) {
    if (c == '/' || c == '\\') c = '-';
  }
  return (std::filesystem::current_path() / (stem + ".pdf")).string();
}

std::string DeskOutput::Title() const {
  return document_name_.empty() ? "Printing" : document_name_;
}

const report::TextMetrics& DeskOutput::Metrics() const { return qt::CurrentFontMetrics(); }

bool DeskOutput::PaintWithProgress(const report::Document& document, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    throw vb::Error::Numbered(report::kPrinterError, "Report", printer.printerName().toStdString());
  }
  qt::QtPainter qt_painter(painter, printer.resolution(), [&printer] { printer.newPage(); });
  qt_painter.BeginDocument(document);
  const int pages = static_cast<int>(document.pages.size());
  QProgressDialog progress(ToQt("Preparing " + Title() + "\u2026"), "Cancel", 0, pages, window_);
  progress.setWindowTitle(ToQt(Title()));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(pages > kPagesWorthProgress ? 0 : 60000);
  for (int i = 0; i < pages; ++i) {
    progress.setLabelText(ToQt("Page " + std::to_string(i + 1) + " of " + std::to_string(pages)));
    progress.setValue(i);
    if (progress.wasCanceled()) {
      // A job sent to a printer is withdrawn; a preview shows what was done.
      if (printer.outputFormat() == QPrinter::NativeFormat) printer.abort();
      painter.end();
      return false;
    }
    report::PaintPage(document.pages[i], qt_painter);
  }
  progress.setValue(pages);
  painter.end();
  if (printer.printerState() == QPrinter::Error) {
    throw vb::Error::Numbered(report::kPrinterError, "Report", printer.printerName().toStdString());
  }
  return true;
}

void DeskOutput::Preview(const report::Document& document, const std::string& device_name) {
  QPrinter printer(QPrinter::HighResolution);
  const bool has_printer = !qt::ResolvePrinter(device_name).isNull();
  if (has_printer) {
    qt::PreparePrinter(printer, document, device_name);
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQt(ProposedPdfPath()));
    SetPaper(printer, document);
  }
  printer.setDocName(ToQt(Title()));
  QPrintPreviewDialog dialog(&printer, window_);
  dialog.setWindowTitle(ToQt("Preview \u2014 " + Title()));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
    try {
      PaintWithProgress(document, *target);
    } catch (const vb::Error& error) {
      QMessageBox::warning(&dialog, ToQt(Title()),
                           ToQt(services::PlainFailure("Printing " + Title(), error)));
    }
  });
  if (auto* toolbar = dialog.findChild<QToolBar*>()) {
    toolbar->addSeparator();
    QAction* save = toolbar->addAction("Save as PDF\u2026");
    QObject::connect(save, &QAction::triggered, [&] { SavePdfAs(document); });
    // The preview's own print button opens Qt's file and print dialogs,
    // which read the files they list; it goes through the desk's instead.
    for (QAction* action : toolbar->actions()) {
      if (action->text() != "Print") continue;
      QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
      QObject::connect(action, &QAction::triggered, [&] {
        if (has_printer ? Print(document, device_name) : SavePdfAs(document)) dialog.accept();
      });
    }
  }
  const std::string note = has_printer ? VanishedPrinterNote(device_name)
                                       : "No printer is installed on this machine: the print "
                                         "button saves a PDF file, as Save as PDF does.";
  if (auto* layout = qobject_cast<QBoxLayout*>(dialog.layout()); layout && !note.empty()) {
    auto* label = new QLabel(ToQt(note), &dialog);
    label->setStyleSheet("background: #fff4ce; color: #4a3b00; padding: 6px;");
    layout->insertWidget(0, label);
  }
  dialog.resize(960, 760);
  dialog.exec();
}

bool DeskOutput::Print(const report::Document& document, const std::string& device_name) {
  if (qt::ResolvePrinter(device_name).isNull()) {
    const auto answer = QMessageBox::question(
        window_, ToQt(Title()),
        ToQt("There is no printer on this machine. Save " + Title() + " as a PDF file instead?"),
        QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save && SavePdfAs(document);
  }
  const std::string note = VanishedPrinterNote(device_name);
  if (!note.empty()) QMessageBox::information(window_, ToQt(Title()), ToQt(note));
  QPrinter printer(QPrinter::HighResolution);
  qt::PreparePrinter(printer, document, device_name);
  printer.setDocName(ToQt(Title()));
  QPrintDialog dialog(&printer, window_);
  dialog.setWindowTitle(ToQt("Print " + Title()));
  // Printing to a file proposes the document's own name in the working
  // folder (the dialog's own choice is print.pdf in the home folder).
  if (auto* file = dialog.findChild<QLineEdit*>("filename")) file->setText(ToQt(ProposedPdfPath()));
  KeepPrintDialogFromFileContents(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  try {
    return PaintWithProgress(document, printer);
  } catch (const vb::Error& error) {
    QMessageBox::warning(
        window_, ToQt(Title()),
        ToQt(Title() + " was not printed: the printer refused the job (" + error.context() + ")."));
    return false;
  }
}

void DeskOutput::ExportPdf(const report::Document& document, const std::string& path) {
  qt::WritePdf(document, path);
}

bool DeskOutput::SavePdfAs(const report::Document& document) {
  QString path = ChooseSavePath(window_, ToQt("Save " + Title() + " as PDF"),
                                ToQt(ProposedPdfPath()), "PDF files (*.pdf)");
  if (path.isEmpty()) return false;
  if (!path.endsWith(".pdf", Qt::CaseInsensitive)) path += ".pdf";
  try {
    qt::WritePdf(document, path.toStdString());
  } catch (const vb::Error& error) {
    QMessageBox::warning(window_, ToQt(Title()),
                         ToQt(services::PlainFailure("Saving " + Title() + " as a PDF", error)));
    return false;
  }
  QMessageBox::information(window_, ToQt(Title()),
                           ToQt(Title() + " was saved as " + path.toStdString() + "."));
  return true;
}

}  // namespace kvt::host
