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

TEST(VoucherLayoutTest, BandsRulesFontsAndCaptionsOfTheFourLayouts) {
  struct Case {
    std::shared_ptr<report::Report> layout;
    int32_t header, detail, footer;
    int lines, boxes;
    double name_size, total_size;
    const char* total_caption;  // Label18
  };
  const Case cases[] = {
      {std::make_shared<rptGoodsReceived>(), 4845, 227, 1485, 16, 7, 10, 8.5, "Invoice Total "},
      {std::make_shared<rptGoodsReceivedNG>(), 4845, 225, 1485, 0, 0, 8.5, 8, "Invoice Total"},
      {std::make_shared<rptGoodsReturned>(), 4395, 225, 1245, 25, 5, 10, 8.5, "Credit Note Total"},
      {std::make_shared<rptGoodsReturnedNG>(), 4395, 225, 1245, 0, 0, 10, 8.5, "Credit Note Total"},
  };
  for (const Case& c : cases) {
    report::Report& layout = *c.layout;
    SCOPED_TRACE(layout.Name());
    int lines = 0, boxes = 0;
    for (auto [kind, height] : {std::pair{SectionKind::PageHeader, c.header},
                                {SectionKind::Detail, c.detail},
                                {SectionKind::PageFooter, c.footer}}) {
      EXPECT_EQ(layout.FindSection(kind)->Height(), height);
      for (const auto& control : layout.FindSection(kind)->Controls()) {
        lines += control.Kind() == ControlKind::Line;
        boxes += control.Kind() == ControlKind::Box;
        EXPECT_LE(control.Bounds().Right(), layout.Page().PrintWidth()) << control.Name();
      }
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(layout.Control("fldRHCoName").TextFont().size, c.name_size);
    EXPECT_EQ(layout.Control("fldPFGRVTotal").TextFont().size, c.total_size);
    EXPECT_EQ(layout.Control("Label18").Caption(), c.total_caption);
    EXPECT_EQ(layout.HasControl("fldNotes"), c.header == 4845);
  }
  EXPECT_EQ(rptGoodsReceived().Control("fldNotes").DataField(), "Notes");
  EXPECT_EQ(rptGoodsReturned().Control("Line51").Points(),
            (report::Segment{7470, 860, 11100, 860}));
}

}  // namespace
}  // namespace kvt::documents
