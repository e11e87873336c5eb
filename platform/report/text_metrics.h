// report::TextMetrics — how much room text takes in a font. The engine
// measures while it lays pages out, so that what it puts in the display
// list already fits its box (see text_fit.h); the measuring itself belongs
// to whatever draws the text, which is why it sits behind this interface.
#pragma once

#include <string>

#include "platform/report/font.h"

namespace kvt::report {

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;

  // Advance width of `text` (UTF-8, one line) in `font`, in twips.
  virtual double Width(const std::string& text, const Font& font) const = 0;
  // Distance from one line's top to the next one's in `font`, in twips.
  virtual double LineHeight(const Font& font) const = 0;
  // Distance from a line's top to its baseline in `font`, in twips.
  virtual double Ascent(const Font& font) const = 0;
};

// Measures every face as the sans face that Arial and its metric-compatible
// substitutes share (regular and bold advance widths of printable ASCII;
// other characters count as a digit, the ellipsis as a full em). Exact for
// those faces up to kerning, the same on every machine: for display-list
// tests and headless layout.
const TextMetrics& StandardTextMetrics();

}  // namespace kvt::report
