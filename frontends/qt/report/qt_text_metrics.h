// kvt::qt::QtTextMetrics — report text measured with the fonts Qt draws
// it in, so that what the engine fits is what the painter draws. Measuring
// needs a QGuiApplication.
#pragma once

#include <array>
#include <map>
#include <tuple>

#include <QFont>

#include "platform/report/text_metrics.h"

namespace kvt::qt {

// The QFont a report font is drawn in. Sizes are pixel sizes in twips (the
// painters draw in twips), so measuring and drawing agree on any device.
QFont ReportFont(const report::Font& font);

class QtTextMetrics : public report::TextMetrics {
 public:
  double Width(const std::string& text, const report::Font& font) const override;
  double LineHeight(const report::Font& font) const override;
  double Ascent(const report::Font& font) const override;

 private:
  // The advance widths of printable ASCII and the line spacing of one
  // font. Plain numbers are kept rather than Qt font objects, which must
  // not outlive the application while outputs may.
  struct FontTable {
    std::array<double, 95> advances{};
    double line_spacing = 0;
    double ascent = 0;
  };
  const FontTable& TableOf(const report::Font& font) const;

  using Key = std::tuple<std::string, double, bool, bool>;
  mutable std::map<Key, FontTable> tables_;
};

// QtTextMetrics while a QGuiApplication runs, report::StandardTextMetrics()
// otherwise; one per thread.
const report::TextMetrics& CurrentFontMetrics();

}  // namespace kvt::qt
