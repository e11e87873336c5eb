// Fitting a text to its box, so that a printed document never loses a
// figure: text that is too wide first shrinks, down to a floor; past the
// floor figures keep every character and may run over their box, while
// words wrap when the box has room for more lines and are otherwise cut
// after a whole word, with an ellipsis.
#pragma once

#include <cstdint>
#include <string>

#include "platform/report/font.h"
#include "platform/report/geometry.h"
#include "platform/report/text_metrics.h"

namespace kvt::report {

// The smallest size text shrinks to, in points.
inline constexpr double kMinFontSize = 6.0;
// Text keeps this far (twips) from the left and right edges of its box, so
// that it does not touch the rules drawn along column edges. Painters
// inset by the same amount.
inline constexpr int32_t kTextInset = 30;
// Right-aligned text (the figures of a column) is fitted to leave this much
// (twips) clear on its left instead, so that the figures of neighbouring
// columns never run together, even where the boxes touch or overlap.
inline constexpr int32_t kColumnGap = 75;
// What a cut text ends with (U+2026).
inline constexpr const char* kEllipsis = "\xE2\x80\xA6";

enum class TextKind {
  Words,    // may be cut after a whole word
  Figures,  // amounts, quantities, dates, codes of digits: never cut
};

// Figures when the text holds no letter; words otherwise.
TextKind KindOfText(const std::string& text);

struct FittedText {
  std::string text;  // one line, or lines separated by '\n'
  double size = 0;   // points
};

// Fits `text` in `font`, aligned as `alignment`, to `box` (inset by
// kTextInset, or kColumnGap on the left of right-aligned text).
// A text that fits is returned unchanged. Otherwise the largest size in
// quarter points, down to kMinFontSize (or the font's own size when that
// is smaller), at which it fits; at the floor:
//  - figures are returned whole (they run over the box);
//  - words are broken at blanks into as many lines as the box's height
//    holds when that is two or more, or when `word_wrap` is set;
//  - whatever still does not fit is cut after the last whole word that
//    leaves room for kEllipsis, which is appended. A first word wider than
//    the box is kept whole.
// With `word_wrap`, words are broken into lines at every size tried, and
// line breaks in the text start new lines; without it they count as
// blanks.
FittedText FitText(const std::string& text, const Font& font, const Rect& box, Alignment alignment,
                   bool word_wrap, TextKind kind, const TextMetrics& metrics);

}  // namespace kvt::report
