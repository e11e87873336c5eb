#include "frontends/qt/report/qt_text_metrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <cmath>

namespace kvt::qt {
namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr int kFirstAscii = 32;

bool IsPrintableAscii(const std::string& text) {
  for (char c : text) {
    if (c < kFirstAscii || c > '~') return false;
  }
  return true;
}

}  // namespace

QFont ReportFont(const report::Font& font) {
  QFont qfont(QString::fromStdString(font.name));
  qfont.setPixelSize(static_cast<int>(std::lround(font.size * kTwipsPerPoint)));
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  // Text is measured as the sum of its characters' advances, so the
  // painter must not move them: no kerning, no ligatures, and design
  // advances rather than ones hinted for a screen.
  qfont.setKerning(false);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  qfont.setStyleStrategy(QFont::PreferNoShaping);
  return qfont;
}

const QtTextMetrics::FontTable& QtTextMetrics::TableOf(const report::Font& font) const {
  const auto [slot, added] = tables_.try_emplace(Key{font.name, font.size, font.bold, font.italic});
  if (added) {
    const QFontMetricsF metrics(ReportFont(font));
    for (size_t index = 0; index < slot->second.advances.size(); ++index) {
      slot->second.advances[index] =
          metrics.horizontalAdvance(QChar(static_cast<char16_t>(kFirstAscii + index)));
    }
    slot->second.line_spacing = metrics.lineSpacing();
    slot->second.ascent = metrics.ascent();
  }
  return slot->second;
}

double QtTextMetrics::Width(const std::string& text, const report::Font& font) const {
  // The painter draws with the same font, which moves no character
  // (ReportFont), so this is the width drawn.
  if (!IsPrintableAscii(text)) {
    return QFontMetricsF(ReportFont(font)).horizontalAdvance(QString::fromStdString(text));
  }
  const FontTable& table = TableOf(font);
  double width = 0;
  for (char c : text) width += table.advances[static_cast<size_t>(c - kFirstAscii)];
  return width;
}

double QtTextMetrics::LineHeight(const report::Font& font) const {
  return TableOf(font).line_spacing;
}

double QtTextMetrics::Ascent(const report::Font& font) const { return TableOf(font).ascent; }

const report::TextMetrics& CurrentFontMetrics() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    return report::StandardTextMetrics();
  }
  thread_local QtTextMetrics metrics;
  return metrics;
}

}  // namespace kvt::qt
