#include "platform/report/line_break.h"

#include <cstddef>

namespace kvt::report {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A combining mark (U+0300 to U+036F) belongs to the letter before it.
bool IsCombiningMarkAt(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead == 0xCC) return true;
  return lead == 0xCD && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) < 0xB0;
}

// Whether a line may end just before `at`, between two characters.
bool IsCharacterBoundary(const std::string& text, size_t at) {
  if (at == 0 || at >= text.size()) return true;
  return !IsContinuationByte(text[at]) && !IsCombiningMarkAt(text, at);
}

bool EndsAGroup(char c, TextKind kind) {
  if (c == '-' || c == '/') return true;
  return kind == TextKind::Figures && c == ',';
}

size_t SkipBlanks(const std::string& text, size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at;
}

// Where the next line starts when one ends at `end`.
struct Break {
  size_t end;   // the line is text[start, end) without trailing blanks
  size_t next;  // the next line starts here
};

size_t TrimEnd(const std::string& text, size_t start, size_t end) {
  while (end > start && text[end - 1] == ' ') --end;
  return end;
}

// The farthest break after `start` at a blank or after a separator whose
// line fits; `end` == `start` when none fits.
Break FarthestNaturalBreak(const std::string& text, size_t start, double width, const Font& font,
                           TextKind kind, const TextMetrics& metrics) {
  Break best{start, start};
  for (size_t at = start + 1; at < text.size(); ++at) {
    size_t end = 0;
    if (text[at] == ' ') {
      end = TrimEnd(text, start, at);
    } else if (EndsAGroup(text[at - 1], kind) && at - 1 > start && text[at - 2] != ' ') {
      // A separator that starts a line or a word (a minus sign) is no place
      // to break after.
      end = at;
    } else {
      continue;
    }
    if (end == start || end <= best.end) continue;
    // Lines only get wider as they take more, so the first that does not
    // fit ends the search.
    if (metrics.Width(text.substr(start, end - start), font) > width) break;
    best = {end, SkipBlanks(text, at)};
  }
  return best;
}

// The farthest character boundary after `start` (before `limit`) at which
// text[start, boundary) followed by `mark` fits; at least one character.
size_t FarthestFittingBoundary(const std::string& text, size_t start, size_t limit,
                               const std::string& mark, double width, const Font& font,
                               const TextMetrics& metrics) {
  std::vector<size_t> boundaries;
  for (size_t at = start + 1; at < limit; ++at) {
    if (IsCharacterBoundary(text, at)) boundaries.push_back(at);
  }
  boundaries.push_back(limit);
  // The widths grow with the boundary, so the last fitting one is found by
  // halving.
  size_t low = 0;
  size_t high = boundaries.size();
  while (low < high) {
    const size_t middle = (low + high) / 2;
    const size_t at = boundaries[middle];
    if (metrics.Width(text.substr(start, at - start) + mark, font) <= width) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low == 0 ? boundaries.front() : boundaries[low - 1];
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

std::vector<std::string> BreakIntoLines(const std::string& paragraph, double width,
                                        const Font& font, TextKind kind,
                                        const TextMetrics& metrics) {
  std::vector<std::string> lines;
  size_t start = SkipBlanks(paragraph, 0);
  const size_t end = TrimEnd(paragraph, start, paragraph.size());
  while (start < end) {
    const std::string rest = paragraph.substr(start, end - start);
    if (metrics.Width(rest, font) <= width) {
      lines.push_back(rest);
      break;
    }
    const Break natural = FarthestNaturalBreak(paragraph, start, width, font, kind, metrics);
    if (natural.end > start) {
      lines.push_back(paragraph.substr(start, natural.end - start));
      start = natural.next;
      continue;
    }
    const size_t cut =
        FarthestFittingBoundary(paragraph, start, end, kBreakMark, width, font, metrics);
    lines.push_back(paragraph.substr(start, cut - start) + kBreakMark);
    start = SkipBlanks(paragraph, cut);
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

std::string CutWithEllipsis(const std::string& text, double width, const Font& font,
                            const TextMetrics& metrics) {
  const size_t end = TrimEnd(text, 0, text.size());
  if (end == 0 || metrics.Width(kEllipsis, font) > width) return kEllipsis;
  // The farthest blank that leaves a fitting start.
  size_t kept = 0;
  for (size_t at = 1; at < end; ++at) {
    if (text[at] != ' ' || text[at - 1] == ' ') continue;
    if (metrics.Width(text.substr(0, at) + kEllipsis, font) > width) break;
    kept = at;
  }
  if (kept == 0) {
    kept = FarthestFittingBoundary(text, 0, end, kEllipsis, width, font, metrics);
    if (metrics.Width(text.substr(0, kept) + kEllipsis, font) > width) kept = 0;
  }
  return text.substr(0, kept) + kEllipsis;
}

}  // namespace kvt::report
