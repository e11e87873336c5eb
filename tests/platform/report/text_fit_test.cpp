#include "platform/report/text_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt::report {
namespace {

const std::string kMark = kBreakMark;
const std::string kCut = kEllipsis;

TEST(TextFitTest, ShrinksToTheFloorThenBreaksFiguresAfterAGroupAndWordsInsideTheBox) {
  struct Case {
    const char* text;
    double size;
    Rect box;
    bool word_wrap;
    BoxGrowth growth;
    std::string shown;
    double shown_size;
    Alignment alignment = Alignment::Left;
  };
  constexpr BoxGrowth kFixed = BoxGrowth::Fixed;
  constexpr BoxGrowth kGrows = BoxGrowth::Grows;
  // clang-format off
  const Case cases[] = {
      {"12.50", 8.5, {0, 0, 980, 227}, false, kGrows, "12.50", 8.5},
      {"1,419,752.05", 8.5, {0, 0, 964, 227}, false, kGrows, "1,419,752.05", 7.5},
      // A column's figures keep a wider gap on the left.
      {"1,419,752.05", 8.5, {0, 0, 964, 227}, false, kGrows, "1,419,752.05", 7.25, Alignment::Right},
      // A font smaller than the floor is not made smaller.
      {"123456", 5, {0, 0, 400, 227}, false, kGrows, "123456", 5},
      // Past the floor a figure breaks after a group separator, which ends
      // its line, and never loses a digit, even where the box cannot grow.
      {"123,456,789,012,345.67", 8.5, {0, 0, 907, 227}, false, kGrows,
       "123,456,789,\n012,345.67", 6, Alignment::Right},
      {"123,456,789,012,345.67", 8.5, {0, 0, 907, 227}, false, kFixed,
       "123,456,789,\n012,345.67", 6, Alignment::Right},
      {"-1,234,567,890.12", 8.5, {0, 0, 700, 227}, false, kGrows,
       "-1,234,\n567,\n890.12", 6, Alignment::Right},
      // A minus sign is not a separator to break after.
      {"-123456789012", 8.5, {0, 0, 500, 227}, false, kGrows,
       "-1234" + kMark + "\n56789" + kMark + "\n012", 6},
      {"011 555 0101 02", 8.5, {0, 0, 600, 300}, false, kFixed, "011 555\n0101 02", 6},
      {"Hex bolt M8 x 40", 8.5, {0, 0, 1200, 227}, false, kFixed, "Hex bolt M8 x 40", 7.5},
      {"Unit 7\nDock Street", 8.5, {0, 0, 3000, 227}, false, kFixed, "Unit 7 Dock Street", 8.5},
      // A code breaks at its own hyphen first, between characters (marked)
      // only where no hyphen leaves a line that fits.
      {"PRD-100000000000000", 8.5, {0, 0, 900, 227}, false, kGrows,
       "PRD-\n10000000000" + kMark + "\n0000", 6},
      {"ABCDEFGHIJKLMNOPQRSTUV", 8.5, {0, 0, 1191, 227}, false, kGrows,
       "ABCDEFGHIJKLM" + kMark + "\nNOPQRSTUV", 6},
      // Accented letters are not split from their marks.
      {"e\xCC\x81" "e\xCC\x81" "e\xCC\x81" "e\xCC\x81" "e\xCC\x81" "e\xCC\x81", 8.5,
       {0, 0, 500, 227}, false, kGrows,
       "e\xCC\x81" "e\xCC\x81" + kMark + "\ne\xCC\x81" "e\xCC\x81" + kMark + "\ne\xCC\x81" "e\xCC\x81", 6},
      // A band that grows takes every line; a fixed one cuts words, marked.
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 227}, false,
       kGrows, "Galvanised steel bracket\nGalvanised steel bracket", 6},
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 227}, false,
       kFixed, "Galvanised steel bracket" + kCut, 6},
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 300}, false,
       kFixed, "Galvanised steel bracket\nGalvanised steel bracket", 6},
      // A cut word never runs past its box either.
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 8.5, {0, 0, 1191, 227}, false, kFixed,
       "ABCDEFGHIJKLM" + kCut, 6},
      {"one two three four five six", 8.5, {0, 0, 1200, 800}, true, kFixed,
       "one two three\nfour five six", 8.5},
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 227}, true,
       kFixed, "Galvanised steel bracket" + kCut, 6},
      {"first\nsecond", 8.5, {0, 0, 3000, 800}, true, kFixed, "first\nsecond", 8.5},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.box.width));
    Font font;
    font.size = c.size;
    const FittedText fitted = FitText(c.text, font, c.box, c.alignment, c.word_wrap, c.growth,
                                      KindOfText(c.text), StandardTextMetrics());
    EXPECT_EQ(fitted.text, c.shown);
    EXPECT_EQ(fitted.size, c.shown_size);
    int lines = 1;
    for (char ch : fitted.text) lines += ch == '\n';
    EXPECT_EQ(fitted.lines, lines);
  }
}

}  // namespace
}  // namespace kvt::report
