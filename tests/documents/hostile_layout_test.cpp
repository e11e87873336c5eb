#include <gtest/gtest.h>

#include <limits>

#include "platform/report/text_fit.h"
#include "platform/value/conversions.h"
#include "platform/value/currency.h"

#include "tests/documents/layout_check.h"

namespace kvt::documents {
namespace {

// Figures of up to 15 digits in every column at once, words longer than
// any box and wide characters: every text stays in its box, whole, on
// every page of every layout.
TEST(HostileLayoutTest, NoTextRunsIntoAnotherOrLosesACharacter) {
  for (testing::HostileCase& c : testing::HostileCases()) {
    SCOPED_TRACE(c.layout->Name());
    const report::Document document = c.layout->Run(report::StandardTextMetrics());
    for (const report::Page& page : document.pages) {
      SCOPED_TRACE("page " + std::to_string(page.number));
      const auto overlaps = testing::OverlapProblems(page, report::StandardTextMetrics());
      EXPECT_TRUE(overlaps.empty()) << overlaps.size() << " problems\n"
                                    << testing::FirstProblems(overlaps);
    }
    const auto cut = testing::WholenessProblems(*c.layout, document, *c.data);
    EXPECT_TRUE(cut.empty()) << cut.size() << " problems\n" << testing::FirstProblems(cut);
  }
}

// The page footer cannot grow, so its totals must fit one line inside
// their boxes whatever they add up to: the widest amount there is.
TEST(HostileLayoutTest, FooterTotalsFitOneLineAtAnyAmount) {
  const std::string widest = vb::Format(
      vb::Variant(vb::Currency::FromRaw(std::numeric_limits<int64_t>::min() + 1)), "#,##0.00");
  for (testing::HostileCase& c : testing::HostileCases()) {
    SCOPED_TRACE(c.layout->Name());
    for (const report::ReportControl& control :
         c.layout->FindSection(report::SectionKind::PageFooter)->Controls()) {
      if (control.Kind() != report::ControlKind::Field ||
          control.Summary() == report::SummaryType::None) {
        continue;
      }
      const report::FittedText fitted = report::FitText(
          widest, control.TextFont(), control.Bounds(), control.TextAlignment(), control.WordWrap(),
          report::BoxGrowth::Fixed, report::TextKind::Figures, report::StandardTextMetrics());
      EXPECT_EQ(fitted.text, widest) << control.Name();
      report::Font font = control.TextFont();
      font.size = fitted.size;
      EXPECT_LE(report::StandardTextMetrics().Width(fitted.text, font),
                control.Bounds().width - report::kColumnGap - report::kTextInset)
          << control.Name();
    }
  }
}

}  // namespace
}  // namespace kvt::documents
