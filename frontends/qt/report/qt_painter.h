// kvt::qt::QtPainter — paints a report display list with a QPainter on any
// paint device (PDF writer, printer, preview).
#pragma once

#include <functional>

#include "platform/report/painter.h"

class QPainter;

namespace kvt::qt {

class QtPainter : public report::Painter {
 public:
  // Paints with `painter`, whose device has `device_dpi` dots per inch;
  // display-list twips are scaled to it. `new_page` is called before every
  // page but the first (QPdfWriter::newPage, QPrinter::newPage).
  QtPainter(QPainter& painter, double device_dpi, std::function<void()> new_page);

  void BeginDocument(const report::Document& document) override;
  void BeginPage(const report::Page& page) override;
  void DrawText(const report::TextItem& item) override;
  void DrawLine(const report::LineItem& item) override;
  void DrawBox(const report::BoxItem& item) override;
  void EndPage() override {}
  void EndDocument() override {}

 private:
  QPainter& painter_;
  double scale_;
  std::function<void()> new_page_;
  bool first_page_ = true;
  report::Font current_font_;
  bool has_font_ = false;
};

}  // namespace kvt::qt
