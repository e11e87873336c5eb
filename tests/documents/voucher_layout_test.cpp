#include "documents/voucher_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"

namespace kvt::documents {
namespace {

using report::ControlKind;
using report::Rect;
using report::SectionKind;

TEST(VoucherLayoutTest, BandsRulesAndCaptionsOfTheFourLayouts) {
  struct Case {
    std::shared_ptr<report::Report> layout;
    int32_t header, detail, footer;
    size_t lines, boxes;
    const char* total_caption;  // Label18
    const char* date_caption;   // lblDate
  };
  const Case cases[] = {
      {std::make_shared<rptGoodsReceived>(), 4845, 227, 1485, 16, 7, "Invoice Total ",
       "Date Received:"},
      {std::make_shared<rptGoodsReceivedNG>(), 4845, 225, 1485, 0, 0, "Invoice Total",
       "Date Received:"},
      {std::make_shared<rptGoodsReturned>(), 4395, 225, 1245, 25, 5, "Credit Note Total",
       "Date Returned:"},
      {std::make_shared<rptGoodsReturnedNG>(), 4395, 225, 1245, 0, 0, "Credit Note Total",
       "Date Returned:"},
  };
  for (const Case& c : cases) {
    report::Report& layout = *c.layout;
    SCOPED_TRACE(layout.Name());
    EXPECT_EQ(layout.FindSection(SectionKind::PageHeader)->Height(), c.header);
    EXPECT_EQ(layout.FindSection(SectionKind::Detail)->Height(), c.detail);
    EXPECT_EQ(layout.FindSection(SectionKind::PageFooter)->Height(), c.footer);
    EXPECT_GE(layout.Page().PrintWidth(), 11225);
    size_t lines = 0, boxes = 0;
    for (SectionKind kind : {SectionKind::PageHeader, SectionKind::Detail,
                             SectionKind::PageFooter}) {
      for (const auto& control : layout.FindSection(kind)->Controls()) {
        lines += control.Kind() == ControlKind::Line;
        boxes += control.Kind() == ControlKind::Box;
        EXPECT_LE(control.Bounds().Right(), 11225) << control.Name();
      }
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(layout.Control("Label18").Caption(), c.total_caption);
    EXPECT_EQ(layout.Control("lblDate").Caption(), c.date_caption);
    EXPECT_EQ(layout.HasControl("fldNotes"), c.header == 4845);
    EXPECT_EQ(layout.Control("fldPFGRVTotal").Summary(), report::SummaryType::GrandSum);
    EXPECT_EQ(layout.Control("fldOHPageNo").Summary(), report::SummaryType::PageCount);
    for (const ColumnBinding& binding : kVoucherBindings) {
      EXPECT_EQ(layout.Control(binding.field).DataField(), "") << binding.field;
    }
  }
}

TEST(VoucherLayoutTest, RuledReceivedLayoutKeepsItsDesignedPlacesAndSizes) {
  rptGoodsReceived ruled;
  rptGoodsReceivedNG plain;
  struct Case {
    const char* control;
    Rect rect;
    double size, plain_size;
  };
  const Case cases[] = {
      {"fldRHSupName", {57, 850, 5556, 284}, 10, 8.5},
      {"lblRHDocumentType", {3628, 2608, 3969, 340}, 14.5, 14.5},
      {"RePrintFlag", {7597, 2608, 1587, 340}, 14.5, 14.5},
      {"Label32", {57, 3628, 1644, 284}, 10, 10},
      {"fldRDUnitPrice", {5700, 0, 980, 227}, 8.5, 8.5},
      {"fldNotes", {150, 80, 7980, 800}, 8.5, 8.5},
      {"fldPFGRVTotal", {9524, 624, 1701, 283}, 8.5, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    EXPECT_EQ(ruled.Control(c.control).Bounds(), c.rect);
    EXPECT_EQ(ruled.Control(c.control).TextFont().size, c.size);
    EXPECT_EQ(plain.Control(c.control).TextFont().size, c.plain_size);
  }
  EXPECT_EQ(ruled.Control("fldNotes").DataField(), "Notes");
  EXPECT_EQ(ruled.Control("Shape9").Bounds(), (Rect{8164, 57, 3061, 850}));
  EXPECT_EQ(ruled.Control("Line12").Points(), (report::Segment{10205, 4535, 10205, 4819}));
  rptGoodsReturned returned;
  EXPECT_EQ(returned.Control("Line45").Points(), (report::Segment{9320, 560, 9320, 860}));
  EXPECT_EQ(returned.Control("Line51").Points(), (report::Segment{7470, 860, 11100, 860}));
  EXPECT_EQ(returned.Control("RePrintFlag").Text(), "Re-Print");
}

}  // namespace
}  // namespace kvt::documents
