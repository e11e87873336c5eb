#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "frontends/qt/report/pdf_writer.h"
#include "frontends/qt/report/qt_text_metrics.h"
#include "platform/value/conversions.h"
#include "tests/frontends/qt/qt_test_support.h"
#include "tests/documents/layout_check.h"

namespace kvt::qt {
namespace {

// How far (points) a word pdftotext finds may stand from where the engine
// measured its line: rounding of the PDF's coordinates, not ink.
constexpr double kSlack = 0.5;
constexpr double kTwipsPerPoint = 20.0;

// A word pdftotext finds, with its box in points.
struct PdfWord {
  std::string text;
  double left, top, right, bottom;
};

std::string Unescaped(std::string text) {
  for (const auto& [entity, character] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), character);
    }
  }
  return text;
}

std::vector<PdfWord> PdfWordsOf(const std::string& path, int page) {
  const std::string number = std::to_string(page);
  const std::string html =
      testing::RunCommand("pdftotext -bbox -f " + number + " -l " + number + " '" + path + "' -")
          .output;
  static const std::regex word(
      "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  std::vector<PdfWord> words;
  for (std::sregex_iterator at(html.begin(), html.end(), word), end; at != end; ++at) {
    const std::smatch& m = *at;
    words.push_back({Unescaped(m[5]), vb::Val(m[1].str()), vb::Val(m[2].str()), vb::Val(m[3].str()),
                     vb::Val(m[4].str())});
  }
  return words;
}

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

// Whether `text` holds a wide (CJK) character. Those come from a fallback
// face, which declares taller extents than the report font: pdftotext's box
// for them reaches over the line by up to a fifth of an em, though the ink
// stays inside it.
bool HasWideCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0xE3; });
}

std::string Describe(const PdfWord& word) {
  return "\"" + word.text + "\" at " + std::to_string(word.left) + "-" +
         std::to_string(word.right) + " x " + std::to_string(word.top) + "-" +
         std::to_string(word.bottom);
}

// Every word of the page lies inside the line the engine laid out for it
// (whose lines do not overlap: OverlapProblems), and the words of each line
// spell it.
std::vector<std::string> PdfProblems(const report::Page& page, const std::string& path) {
  std::vector<std::string> problems;
  const std::vector<PdfWord> words = PdfWordsOf(path, page.number);
  const auto lines = documents::testing::LineBoxesOf(page, CurrentFontMetrics());
  std::vector<std::vector<const PdfWord*>> spelt(lines.size());
  for (const PdfWord& word : words) {
    const double x = (word.left + word.right) / 2 * kTwipsPerPoint;
    const double y = (word.top + word.bottom) / 2 * kTwipsPerPoint;
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& box) {
      return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom;
    });
    if (line == lines.end()) {
      problems.push_back(Describe(word) + " where no text was laid out");
      continue;
    }
    const double top = line->top / kTwipsPerPoint;
    const double bottom = line->bottom / kTwipsPerPoint;
    const double reach = HasWideCharacter(word.text) ? line->item->font.size / 5 : kSlack;
    if (word.left < line->left / kTwipsPerPoint - kSlack ||
        word.right > line->right / kTwipsPerPoint + kSlack || word.top < top - reach ||
        word.bottom > bottom + reach) {
      problems.push_back(Describe(word) + " runs out of its line in " + line->item->control);
    }
    spelt[static_cast<size_t>(line - lines.begin())].push_back(&word);
  }
  for (size_t index = 0; index < lines.size(); ++index) {
    std::sort(spelt[index].begin(), spelt[index].end(),
              [](const PdfWord* a, const PdfWord* b) { return a->left < b->left; });
    std::string text;
    for (const PdfWord* word : spelt[index]) text += word->text;
    if (text != WithoutBlanks(lines[index].text)) {
      problems.push_back(lines[index].item->control + " reads \"" + text + "\" for \"" +
                         lines[index].text + "\"");
    }
  }
  return problems;
}

// The hostile documents as the painter writes them: what the engine laid
// out is what the PDF shows, measured alike, so nothing overlaps on paper.
TEST(HostilePdfTest, EveryWordStandsWhereTheEngineLaidItOut) {
  for (documents::testing::HostileCase& c : documents::testing::HostileCases()) {
    SCOPED_TRACE(c.layout->Name());
    const report::Document document = c.layout->Run(CurrentFontMetrics());
    testing::TempDir dir("hostile");
    const std::string path = dir.File("document.pdf");
    WritePdf(document, path);
    for (const report::Page& page : document.pages) {
      SCOPED_TRACE("page " + std::to_string(page.number));
      std::vector<std::string> problems = PdfProblems(page, path);
      const auto overlaps = documents::testing::OverlapProblems(page, CurrentFontMetrics());
      problems.insert(problems.end(), overlaps.begin(), overlaps.end());
      EXPECT_TRUE(problems.empty()) << problems.size() << " problems\n"
                                    << documents::testing::FirstProblems(problems);
    }
    const auto cut = documents::testing::WholenessProblems(*c.layout, document, *c.data);
    EXPECT_TRUE(cut.empty()) << cut.size() << " problems, first: " << cut.front();
  }
}

}  // namespace
}  // namespace kvt::qt
