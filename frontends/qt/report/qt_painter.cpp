#include "frontends/qt/report/qt_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QString>

#include <cmath>

namespace kvt::qt {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
// Text keeps clear of the box edge it is aligned to, so that it does not
// touch the rules drawn along column edges.
constexpr int kTextInset = 30;

int AlignmentFlags(const report::TextItem& item) {
  int flags = Qt::AlignTop;
  switch (item.alignment) {
    case report::Alignment::Left:
      flags |= Qt::AlignLeft;
      break;
    case report::Alignment::Center:
      flags |= Qt::AlignHCenter;
      break;
    case report::Alignment::Right:
      flags |= Qt::AlignRight;
      break;
  }
  if (item.word_wrap) flags |= Qt::TextWordWrap;
  return flags;
}

QRect ToQRect(const report::Rect& rect) {
  return QRect(rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

QtPainter::QtPainter(QPainter& painter, double device_dpi,
                     std::function<void()> new_page)
    : painter_(painter),
      scale_(device_dpi / kTwipsPerInch),
      new_page_(std::move(new_page)) {}

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
    QFont font(QString::fromStdString(item.font.name));
    font.setPixelSize(static_cast<int>(std::lround(item.font.size * kTwipsPerPoint)));
    font.setBold(item.font.bold);
    font.setItalic(item.font.italic);
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    current_font_ = item.font;
    has_font_ = true;
  }
  const QRect rect = ToQRect(item.rect).adjusted(kTextInset, 0, -kTextInset, 0);
  const QString text = QString::fromStdString(item.text);
  const int flags = AlignmentFlags(item);
  // A field shows only what fits in its box, as on the designer's page;
  // clipping is set only when needed because it costs a path per item.
  const QFontMetrics metrics = painter_.fontMetrics();
  const bool overflows =
      item.word_wrap ? !rect.contains(metrics.boundingRect(rect, flags, text))
                     : metrics.horizontalAdvance(text) > rect.width() ||
                           metrics.height() > rect.height();
  if (overflows) {
    painter_.save();
    painter_.setClipRect(rect);
  }
  painter_.drawText(rect, flags, text);
  if (overflows) painter_.restore();
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
