#include "frontends/qt/report/qt_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QString>

#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/report/text_fit.h"

namespace kvt::qt {
namespace {

constexpr double kTwipsPerInch = 1440.0;

// The engine has fitted the text already; a figure wider than its box is
// meant to run over it, so nothing is ever clipped.
int AlignmentFlags(const report::TextItem& item) {
  int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
  switch (item.alignment) {
    case report::Alignment::Left: flags |= Qt::AlignLeft; break;
    case report::Alignment::Center: flags |= Qt::AlignHCenter; break;
    case report::Alignment::Right: flags |= Qt::AlignRight; break;
  }
  return flags;
}

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
    const QFont font = ReportFont(item.font);
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    line_spacing_ = QFontMetricsF(font).lineSpacing();
    current_font_ = item.font;
    has_font_ = true;
  }
  QRectF box = QRectF(ToQRect(item.rect)).adjusted(report::kTextInset, 0, -report::kTextInset, 0);
  if (box.width() < 0) box.setWidth(0);
  const int flags = AlignmentFlags(item);
  // Lines were broken by the engine; each is drawn where its measuring put
  // it.
  size_t start = 0;
  for (int index = 0;; ++index) {
    const size_t end = item.text.find('\n', start);
    const size_t stop = end == std::string::npos ? item.text.size() : end;
    const QRectF line(box.left(), box.top() + index * line_spacing_, box.width(), line_spacing_);
    painter_.drawText(
        line, flags,
        QString::fromUtf8(item.text.data() + start, static_cast<qsizetype>(stop - start)));
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
