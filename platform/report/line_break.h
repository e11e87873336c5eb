// Breaking a text into lines no wider than a width, at the places where a
// reader sees that a line goes on: at blanks; after a hyphen or a slash in
// words; after a group separator (or a hyphen or slash) in figures, which
// stays at the end of its line. Only where no such place leaves a line that
// fits is a line broken between two characters, and then it ends in
// kBreakMark, so that a broken code or amount cannot be read as two.
#pragma once

#include <string>
#include <vector>

#include "platform/report/font.h"
#include "platform/report/text_metrics.h"

namespace kvt::report {

// Ends a line broken between two characters (U+00AC).
inline constexpr const char* kBreakMark = "\xC2\xAC";
// Ends a text cut short in a box that cannot hold it all (U+2026).
inline constexpr const char* kEllipsis = "\xE2\x80\xA6";

enum class TextKind {
  Words,    // names, descriptions, captions: may be cut, marked
  Figures,  // amounts, quantities, dates, numbers: never cut
};

// Figures when the text holds no letter; words otherwise.
TextKind KindOfText(const std::string& text);

// The lines of `paragraph` (one line of text: no line breaks), each no
// wider than `width` in `font` unless a single character is wider. Blanks
// where a line is broken are dropped; every other character is kept, in
// order, so joining the lines (without the marks) gives the paragraph back
// up to those blanks. A paragraph that fits is one line.
std::vector<std::string> BreakIntoLines(const std::string& paragraph, double width,
                                        const Font& font, TextKind kind,
                                        const TextMetrics& metrics);

// The longest start of `text` that fits `width` with kEllipsis after it,
// cut at a blank when one leaves anything, otherwise between two
// characters; the ellipsis is appended. Only kEllipsis when nothing fits.
std::string CutWithEllipsis(const std::string& text, double width, const Font& font,
                            const TextMetrics& metrics);

}  // namespace kvt::report
