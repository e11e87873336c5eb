#include "frontends/qt/report/qt_painter.h"

#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QString>

#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/report/text_fit.h"

namespace kvt::qt {
namespace {

constexpr double kTwipsPerInch = 1440.0;

QRect ToQRect(const report::Rect& rect) {
  return QRect(rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

QtPainter::QtPainter(QPainter& painter, double device_dpi, std::function<void()> new_page)
    : painter_(painter), scale_(device_dpi / kTwipsPerInch), new_page_(std::move(new_page)) {}

void QtPainter::BeginDocument(const report::Document&) {
  // Everything is drawn in twips; the device's own resolution is applied
  // by the world transform, so fonts are sized in twips too (pixel sizes
  // would otherwise be taken at the device's resolution a second time).
  painter_.resetTransform();
  painter_.scale(scale_, scale_);
  first_page_ = true;
  has_font_ = false;
}

void QtPainter::BeginPage(const report::Page&) {
  if (!first_page_ && new_page_) new_page_();
  first_page_ = false;
}

void QtPainter::DrawText(const report::TextItem& item) {
  if (item.text.empty()) return;
  // Most items share a handful of fonts; switching only on change keeps
  // the PDF engine from resolving the same font again for every field.
  if (!has_font_ || !(item.font == current_font_)) {
    painter_.setFont(ReportFont(item.font));
    painter_.setPen(Qt::black);
    current_font_ = item.font;
    has_font_ = true;
  }
  // Each line is drawn on the baseline and from the x the engine measured
  // it for, with the same metrics: Qt's own alignment would lower a line
  // that takes glyphs from a taller fallback face. Nothing is clipped.
  const report::TextMetrics& metrics = CurrentFontMetrics();
  const double left = item.rect.left + report::kTextInset;
  const double right = item.rect.Right() - report::kTextInset;
  const double ascent = metrics.Ascent(item.font);
  const double line_height = metrics.LineHeight(item.font);
  size_t start = 0;
  for (int index = 0;; ++index) {
    const size_t end = item.text.find('\n', start);
    const std::string line =
        item.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    double x = left;
    if (item.alignment != report::Alignment::Left) {
      const double slack = right - left - metrics.Width(line, item.font);
      x += item.alignment == report::Alignment::Right ? slack : slack / 2;
    }
    painter_.drawText(QPointF(x, item.rect.top + index * line_height + ascent),
                      QString::fromStdString(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void QtPainter::DrawLine(const report::LineItem& item) {
  has_font_ = false;  // the pen changes; text sets its own again
  painter_.setPen(QPen(Qt::black, item.weight));
  const report::Segment& s = item.segment;
  painter_.drawLine(s.x1, s.y1, s.x2, s.y2);
}

void QtPainter::DrawBox(const report::BoxItem& item) {
  has_font_ = false;
  painter_.setPen(QPen(Qt::black, item.weight));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(ToQRect(item.rect));
}

}  // namespace kvt::qt
