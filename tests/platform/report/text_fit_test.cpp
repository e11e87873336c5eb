#include "platform/report/text_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt::report {
namespace {

TEST(TextFitTest, ShrinksThenKeepsFiguresWholeAndCutsWordsAfterAWord) {
  struct Case {
    const char* text;
    double size;
    Rect box;
    bool word_wrap;
    const char* shown;
    double shown_size;
    Alignment alignment = Alignment::Left;
  };
  // clang-format off
  const Case cases[] = {
      {"12.50", 8.5, {0, 0, 980, 227}, false, "12.50", 8.5},
      {"1,419,752.05", 8.5, {0, 0, 964, 227}, false, "1,419,752.05", 7.5},
      // A column's figures keep a wider gap on the left.
      {"1,419,752.05", 8.5, {0, 0, 964, 227}, false, "1,419,752.05", 7.25, Alignment::Right},
      {"1,419,752.05", 8.5, {0, 0, 40, 227}, false, "1,419,752.05", 6},
      {"123456", 5, {0, 0, 100, 227}, false, "123456", 5},
      {"Hex bolt M8 x 40", 8.5, {0, 0, 1200, 227}, false, "Hex bolt M8 x 40", 7.5},
      {"Unit 7\nDock Street", 8.5, {0, 0, 3000, 227}, false, "Unit 7 Dock Street", 8.5},
      {"PRD-100000000000000", 8.5, {0, 0, 600, 227}, false, "PRD-100000000000000", 6},
      // Text without letters is figures: a telephone number is never cut.
      {"011 555 0101 02", 8.5, {0, 0, 600, 300}, false, "011 555 0101 02", 6},
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 227}, false,
       "Galvanised steel bracket\xE2\x80\xA6", 6},
      // A box two lines high at the floor takes the words on two lines.
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 300}, false,
       "Galvanised steel bracket\nGalvanised steel bracket", 6},
      {"one two three four five six", 8.5, {0, 0, 1200, 800}, true,
       "one two three\nfour five six", 8.5},
      {"Galvanised steel bracket Galvanised steel bracket", 8.5, {0, 0, 1500, 227}, true,
       "Galvanised steel bracket\xE2\x80\xA6", 6},
      {"first\nsecond", 8.5, {0, 0, 3000, 800}, true, "first\nsecond", 8.5},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.box.width));
    Font font;
    font.size = c.size;
    const FittedText fitted = FitText(c.text, font, c.box, c.alignment, c.word_wrap,
                                      KindOfText(c.text), StandardTextMetrics());
    EXPECT_EQ(fitted.text, c.shown);
    EXPECT_EQ(fitted.size, c.shown_size);
  }
}

}  // namespace
}  // namespace kvt::report
