#include "platform/report/text_metrics.h"

#include <cstdint>

namespace kvt::report {
namespace {

constexpr double kTwipsPerPoint = 20.0;
// Ascent, descent and line gap of the face, in ems.
constexpr double kLineSpacingEm = 1.15;
constexpr double kAscentEm = 0.905;
constexpr int kDefaultWidth = 556;  // a digit
constexpr int kEllipsisWidth = 1000;

// Advance widths in thousandths of an em of the characters 32 to 126.
constexpr int16_t kRegular[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr int16_t kBold[95] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

class StandardMetrics : public TextMetrics {
 public:
  double Width(const std::string& text, const Font& font) const override {
    const int16_t* widths = font.bold ? kBold : kRegular;
    int64_t units = 0;
    for (size_t at = 0; at < text.size(); ++at) {
      const auto byte = static_cast<unsigned char>(text[at]);
      if (byte >= 32 && byte < 127) {
        units += widths[byte - 32];
      } else if (byte == 0xE2 && text.compare(at, 3, "\xE2\x80\xA6") == 0) {
        units += kEllipsisWidth;
        at += 2;
      } else if (byte >= 0xC0 || byte < 32) {
        // The lead byte of a multi-byte character; continuation bytes add
        // nothing.
        units += byte < 32 ? 0 : kDefaultWidth;
      }
    }
    return static_cast<double>(units) * font.size * kTwipsPerPoint / 1000.0;
  }

  double LineHeight(const Font& font) const override {
    return font.size * kTwipsPerPoint * kLineSpacingEm;
  }

  double Ascent(const Font& font) const override { return font.size * kTwipsPerPoint * kAscentEm; }
};

}  // namespace

const TextMetrics& StandardTextMetrics() {
  static const StandardMetrics metrics;
  return metrics;
}

}  // namespace kvt::report
