// Fitting a text to its box so that no text ever runs into another and no
// figure loses a digit. A text that is too wide first shrinks, in quarter
// points, down to a floor (the smallest size still read with ease). Past
// the floor it is broken into lines (line_break.h): words at blanks,
// hyphens or, marked, between two characters; figures after a group
// separator, each line aligned like the text. A box in a band that grows
// takes as many lines as the text needs (the band makes room, report.h);
// a box in a band that cannot grow keeps figures whole on as many lines as
// they need and cuts words, marked with an ellipsis, after the lines it
// holds.
#pragma once

#include <cstdint>
#include <string>

#include "platform/report/font.h"
#include "platform/report/geometry.h"
#include "platform/report/line_break.h"
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

// Whether the box may take more lines than its height holds.
enum class BoxGrowth { Fixed, Grows };

struct FittedText {
  std::string text;  // one line, or lines separated by '\n'
  double size = 0;   // points
  int lines = 1;
};

// Fits `text` in `font`, aligned as `alignment`, to `box` (inset by
// kTextInset, or kColumnGap on the left of right-aligned text).
// A text that fits is returned unchanged. Otherwise the largest size in
// quarter points, down to kMinFontSize (or the font's own size when that
// is smaller), at which it fits on one line; at the floor it is broken
// into lines as the header says.
// With `word_wrap`, words are broken into lines at every size tried, the
// largest size at which they fit the box's height is taken, and line
// breaks in the text start new lines; without it they count as blanks.
FittedText FitText(const std::string& text, const Font& font, const Rect& box, Alignment alignment,
                   bool word_wrap, BoxGrowth growth, TextKind kind, const TextMetrics& metrics);

}  // namespace kvt::report
