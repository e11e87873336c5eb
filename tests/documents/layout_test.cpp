#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"

namespace kvt::documents {
namespace {

using report::ControlKind;
using report::SectionKind;

// Only the boxed layouts draw rules, no control runs past the printable
// width, and each voucher layout names its total as its kind does.
TEST(LayoutTest, ControlsFitThePageAndOnlyBoxedLayoutsDrawRules) {
  struct Case {
    std::shared_ptr<report::Report> layout;
    bool ruled, notes;
    const char* total_caption;  // Label18; nullptr: an order has none
  };
  const Case cases[] = {
      {std::make_shared<rptPurchaseOrder>(), true, false, nullptr},
      {std::make_shared<rptPurchaseOrderNG>(), false, false, nullptr},
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
    if (c.total_caption) {
      EXPECT_EQ(layout.Control("Label18").Caption(), c.total_caption);
    }
    EXPECT_EQ(layout.HasControl("fldNotes"), c.notes);
  }
}

TEST(LayoutTest, PurchaseOrderDetailFieldsSitUnderTheirHeadingsWithTheAmountFormat) {
  // clang-format off
  const std::pair<const char*, const char*> columns[] = {
      {"lblRHOrderHeadCode", "fldRDProductCode"}, {"Label8", "fldRDProductDesc"},
      {"Label9", "fldRDOrderQty"},   {"Label10", "fldRDUnitPrice"},
      {"Label11", "fldRDTradeDisc"}, {"Label12", "fldRDRebateDisc"},
      {"Label13", "fldRDOtherDisc"}, {"Label14", "fldRDTaxAmount"},
      {"Label15", "fldRDSubTotal"}};
  // clang-format on
  rptPurchaseOrder layout;
  for (const auto& [heading, field] : columns) {
    SCOPED_TRACE(field);
    const auto& head = layout.Control(heading).Bounds();
    const auto& body = layout.Control(field).Bounds();
    EXPECT_LE(std::abs(head.left - body.left), 10);
    EXPECT_LE(std::abs(head.width - body.width), 10);
    const bool text =
        std::string(field) == "fldRDProductCode" || std::string(field) == "fldRDProductDesc";
    EXPECT_EQ(layout.Control(field).OutputFormat(), text ? "" : "#,##0.00");
  }
}

}  // namespace
}  // namespace kvt::documents
