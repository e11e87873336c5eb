#include "platform/report/text_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvt::report {
namespace {

constexpr double kSizeStep = 0.25;

using Words = std::vector<std::string>;

// Paragraphs (split at line breaks when `keep_breaks`) of words.
std::vector<Words> SplitWords(const std::string& text, bool keep_breaks) {
  std::vector<Words> paragraphs(1);
  std::string word;
  auto end_word = [&] {
    if (!word.empty()) paragraphs.back().push_back(std::move(word));
    word.clear();
  };
  for (char c : text) {
    if (c == '\n' && keep_breaks) {
      end_word();
      paragraphs.emplace_back();
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      end_word();
    } else {
      word += c;
    }
  }
  end_word();
  return paragraphs;
}

std::string Join(Words::const_iterator first, Words::const_iterator last) {
  std::string line;
  for (auto word = first; word != last; ++word) {
    if (!line.empty()) line += ' ';
    line += *word;
  }
  return line;
}

// The words from `first` on, cut after the last whole word that leaves
// room for the ellipsis; the first word is kept even when it alone is too
// wide. `more` tells that text follows the words given.
std::string CutAfterWord(Words::const_iterator first, Words::const_iterator last, bool more,
                         double width, const Font& font, const TextMetrics& metrics) {
  if (first == last) return more ? kEllipsis : "";
  if (!more && metrics.Width(Join(first, last), font) <= width) {
    return Join(first, last);
  }
  auto end = first + 1;
  while (end != last && metrics.Width(Join(first, end + 1) + kEllipsis, font) <= width) {
    ++end;
  }
  // A lone word too wide for the box is shown whole, without a mark.
  if (end == last && !more) return Join(first, last);
  return Join(first, end) + kEllipsis;
}

// Greedy line breaking: each line takes words while they fit; a word wider
// than the box takes a line of its own. Lines are word ranges.
struct Line {
  Words::const_iterator first;
  Words::const_iterator last;
  bool ends_paragraph;
};

std::vector<Line> BreakLines(const std::vector<Words>& paragraphs, double width, const Font& font,
                             const TextMetrics& metrics) {
  std::vector<Line> lines;
  const double blank = metrics.Width(" ", font);
  for (const Words& words : paragraphs) {
    auto first = words.begin();
    double used = 0;
    for (auto word = words.begin(); word != words.end(); ++word) {
      const double advance = metrics.Width(*word, font);
      if (word != first && used + blank + advance > width) {
        lines.push_back({first, word, false});
        first = word;
        used = advance;
      } else {
        used += (word == first ? 0 : blank) + advance;
      }
    }
    lines.push_back({first, words.end(), true});
  }
  return lines;
}

// At most `max_lines` lines; when text is left over, the last one shown is
// cut with an ellipsis.
std::string JoinLines(const std::vector<Line>& lines, size_t max_lines, double width,
                      const Font& font, const TextMetrics& metrics) {
  const size_t shown = std::min(lines.size(), max_lines);
  std::string text;
  for (size_t index = 0; index < shown; ++index) {
    if (index > 0) text += '\n';
    const Line& line = lines[index];
    if (index + 1 == shown && shown < lines.size()) {
      // Cutting among the words of the line and those after it in its
      // paragraph keeps the cut at a word.
      const Line& next = lines[index + 1];
      const auto end = line.ends_paragraph ? line.last : next.last;
      text += CutAfterWord(line.first, end, true, width, font, metrics);
    } else {
      text += Join(line.first, line.last);
    }
  }
  return text;
}

size_t LinesThatFit(double height, const Font& font, const TextMetrics& metrics) {
  const double line = metrics.LineHeight(font);
  if (line <= 0) return 1;
  return static_cast<size_t>(std::max(1.0, std::floor(height / line)));
}

Font AtSize(Font font, double size) {
  font.size = size;
  return font;
}

}  // namespace

TextKind KindOfText(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0xC0) {
      return TextKind::Words;
    }
  }
  return TextKind::Figures;
}

FittedText FitText(const std::string& text, const Font& font, const Rect& box, Alignment alignment,
                   bool word_wrap, TextKind kind, const TextMetrics& metrics) {
  if (text.empty()) return {text, font.size};
  const int32_t lead = alignment == Alignment::Right ? kColumnGap : kTextInset;
  const double width = static_cast<double>(box.width - lead - kTextInset);
  const double floor_size = std::min(font.size, kMinFontSize);
  const bool wrap = word_wrap && kind == TextKind::Words;

  if (!wrap) {
    std::string line = text;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    const double natural = metrics.Width(line, font);
    if (natural <= width) return {std::move(line), font.size};
    // Width grows with the size, so the size that fits is found directly
    // and then checked downwards in case the measuring is not linear.
    double size = std::floor(font.size * std::max(width, 0.0) / natural / kSizeStep) * kSizeStep;
    size = std::clamp(size, floor_size, font.size);
    while (size > floor_size && metrics.Width(line, AtSize(font, size)) > width) {
      size = std::max(floor_size, size - kSizeStep);
    }
    const Font fitted = AtSize(font, size);
    if (kind == TextKind::Figures || metrics.Width(line, fitted) <= width) {
      return {std::move(line), size};
    }
    const auto paragraphs = SplitWords(line, false);
    const size_t max_lines = LinesThatFit(box.height, fitted, metrics);
    const auto lines = BreakLines(paragraphs, width, fitted, metrics);
    if (max_lines >= 2) {
      return {JoinLines(lines, max_lines, width, fitted, metrics), size};
    }
    const Words& words = paragraphs.front();
    return {CutAfterWord(words.begin(), words.end(), false, width, fitted, metrics), size};
  }

  if (text.find('\n') == std::string::npos && metrics.Width(text, font) <= width) {
    return {text, font.size};
  }
  const auto paragraphs = SplitWords(text, true);
  for (double size = font.size;; size = std::max(floor_size, size - kSizeStep)) {
    const Font fitted = AtSize(font, size);
    const auto lines = BreakLines(paragraphs, width, fitted, metrics);
    const size_t max_lines = LinesThatFit(box.height, fitted, metrics);
    if (lines.size() <= max_lines || size <= floor_size) {
      return {JoinLines(lines, max_lines, width, fitted, metrics), size};
    }
  }
}

}  // namespace kvt::report
