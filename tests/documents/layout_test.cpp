#include <gtest/gtest.h>

#include <memory>
#include <cstdlib>
#include <utility>

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

// Only the boxed layouts draw rules, and no control runs past the printable
// width. (Which layout has which controls the printing tests tell apart.)
TEST(LayoutTest, ControlsFitThePageAndOnlyBoxedLayoutsDrawRules) {
  const std::pair<std::shared_ptr<report::Report>, bool> cases[] = {
      {std::make_shared<rptPurchaseOrder>(), true}, {std::make_shared<rptPurchaseOrderNG>(), false},
      {std::make_shared<rptGoodsReceived>(), true}, {std::make_shared<rptGoodsReceivedNG>(), false},
      {std::make_shared<rptGoodsReturned>(), true}, {std::make_shared<rptGoodsReturnedNG>(), false},
  };
  for (const auto& [shared, ruled] : cases) {
    report::Report& layout = *shared;
    SCOPED_TRACE(layout.Name());
    int rules = 0;
    for (auto kind : {SectionKind::PageHeader, SectionKind::Detail, SectionKind::PageFooter}) {
      for (const auto& control : layout.FindSection(kind)->Controls()) {
        rules += control.Kind() == ControlKind::Line || control.Kind() == ControlKind::Box;
        EXPECT_LE(control.Bounds().Right(), layout.Page().PrintWidth()) << control.Name();
      }
    }
    EXPECT_EQ(rules > 0, ruled);
  }
}

TEST(LayoutTest, PurchaseOrderDetailFieldsSitUnderTheirHeadings) {
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
  }
}

}  // namespace
}  // namespace kvt::documents
