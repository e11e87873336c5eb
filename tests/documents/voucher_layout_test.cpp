#include "documents/voucher_layout.h"

#include <gtest/gtest.h>

#include <memory>

#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"

namespace kvt::documents {
namespace {

using report::ControlKind;
using report::SectionKind;

// Only the boxed layouts draw rules, no control runs past the printable
// width, and each names its total as its kind does.
TEST(VoucherLayoutTest, RulesFitAndCaptionsOfTheFourLayouts) {
  struct Case {
    std::shared_ptr<report::Report> layout;
    bool ruled, notes;
    const char* total_caption;  // Label18
  };
  const Case cases[] = {
      {std::make_shared<rptGoodsReceived>(), true, true, "Invoice Total "},
      {std::make_shared<rptGoodsReceivedNG>(), false, true, "Invoice Total"},
      {std::make_shared<rptGoodsReturned>(), true, false, "Credit Note Total"},
      {std::make_shared<rptGoodsReturnedNG>(), false, false, "Credit Note Total"},
  };
  for (const Case& c : cases) {
    report::Report& layout = *c.layout;
    SCOPED_TRACE(layout.Name());
    int rules = 0;
    for (auto kind : {SectionKind::PageHeader, SectionKind::Detail, SectionKind::PageFooter}) {
      for (const auto& control : layout.FindSection(kind)->Controls()) {
        rules += control.Kind() == ControlKind::Line || control.Kind() == ControlKind::Box;
        EXPECT_LE(control.Bounds().Right(), layout.Page().PrintWidth()) << control.Name();
      }
    }
    EXPECT_EQ(rules > 0, c.ruled);
    EXPECT_EQ(layout.Control("Label18").Caption(), c.total_caption);
    EXPECT_EQ(layout.HasControl("fldNotes"), c.notes);
  }
  EXPECT_EQ(rptGoodsReceived().Control("fldNotes").DataField(), "Notes");
}

}  // namespace
}  // namespace kvt::documents
