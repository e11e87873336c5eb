#include "platform/report/text_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvt::report {
namespace {

constexpr double kSizeStep = 0.25;

using Lines = std::vector<std::string>;

Font AtSize(Font font, double size) {
  font.size = size;
  return font;
}

size_t LinesThatFit(double height, const Font& font, const TextMetrics& metrics) {
  const double line = metrics.LineHeight(font);
  if (line <= 0) return 1;
  return static_cast<size_t>(std::max(1.0, std::floor(height / line)));
}

// The paragraphs of `text`: split at line breaks when `keep_breaks`,
// otherwise one, with the breaks read as blanks.
Lines Paragraphs(const std::string& text, bool keep_breaks) {
  Lines paragraphs(1);
  for (char c : text) {
    if (c == '\n' && keep_breaks) {
      paragraphs.emplace_back();
    } else {
      paragraphs.back() += c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
    }
  }
  return paragraphs;
}

Lines BreakParagraphs(const Lines& paragraphs, double width, const Font& font, TextKind kind,
                      const TextMetrics& metrics) {
  Lines lines;
  for (const std::string& paragraph : paragraphs) {
    Lines broken = BreakIntoLines(paragraph, width, font, kind, metrics);
    lines.insert(lines.end(), std::make_move_iterator(broken.begin()),
                 std::make_move_iterator(broken.end()));
  }
  return lines;
}

FittedText Joined(const Lines& lines, double size) {
  FittedText fitted{{}, size, static_cast<int>(lines.size())};
  for (size_t index = 0; index < lines.size(); ++index) {
    if (index > 0) fitted.text += '\n';
    fitted.text += lines[index];
  }
  return fitted;
}

// Lines from `first` on put back into one line: a line broken between two
// characters or after a separator runs on without a blank.
std::string RunOn(const Lines& lines, size_t first) {
  const std::string mark = kBreakMark;
  std::string text;
  for (size_t index = first; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    if (line.ends_with(mark)) {
      text.append(line, 0, line.size() - mark.size());
    } else {
      text += line;
      if (!line.empty() && !line.ends_with('-') && !line.ends_with('/')) text += ' ';
    }
  }
  return text;
}

// The lines at the floor size, within the box's height unless the box
// grows or they are figures; words past the last line the box holds are
// cut, marked.
FittedText Shown(const Lines& lines, double size, double width, double height, BoxGrowth growth,
                 TextKind kind, const Font& font, const TextMetrics& metrics) {
  const size_t room = LinesThatFit(height, font, metrics);
  if (lines.size() <= room || growth == BoxGrowth::Grows || kind == TextKind::Figures) {
    return Joined(lines, size);
  }
  Lines shown(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(room - 1));
  shown.push_back(CutWithEllipsis(RunOn(lines, room - 1), width, font, metrics));
  return Joined(shown, size);
}

}  // namespace

FittedText FitText(const std::string& text, const Font& font, const Rect& box, Alignment alignment,
                   bool word_wrap, BoxGrowth growth, TextKind kind, const TextMetrics& metrics) {
  if (text.empty()) return {text, font.size, 1};
  const int32_t lead = alignment == Alignment::Right ? kColumnGap : kTextInset;
  const double width = static_cast<double>(box.width - lead - kTextInset);
  const double floor_size = std::min(font.size, kMinFontSize);
  const bool wrap = word_wrap && kind == TextKind::Words;

  if (!wrap) {
    const std::string line = Paragraphs(text, false).front();
    const double natural = metrics.Width(line, font);
    if (natural <= width) return {line, font.size, 1};
    // Width grows with the size, so the size that fits is found directly
    // and then checked downwards in case the measuring is not linear.
    double size = std::floor(font.size * std::max(width, 0.0) / natural / kSizeStep) * kSizeStep;
    size = std::clamp(size, floor_size, font.size);
    while (size > floor_size && metrics.Width(line, AtSize(font, size)) > width) {
      size = std::max(floor_size, size - kSizeStep);
    }
    const Font fitted = AtSize(font, size);
    if (metrics.Width(line, fitted) <= width) return {line, size, 1};
    const Lines lines = BreakIntoLines(line, width, fitted, kind, metrics);
    return Shown(lines, size, width, box.height, growth, kind, fitted, metrics);
  }

  if (text.find('\n') == std::string::npos && metrics.Width(text, font) <= width) {
    return {text, font.size, 1};
  }
  const Lines paragraphs = Paragraphs(text, true);
  for (double size = font.size;; size = std::max(floor_size, size - kSizeStep)) {
    const Font fitted = AtSize(font, size);
    const Lines lines = BreakParagraphs(paragraphs, width, fitted, kind, metrics);
    if (lines.size() <= LinesThatFit(box.height, fitted, metrics) || size <= floor_size) {
      return Shown(lines, size, width, box.height, growth, kind, fitted, metrics);
    }
  }
}

}  // namespace kvt::report
