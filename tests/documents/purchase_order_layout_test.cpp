#include "documents/purchase_order_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"

namespace kvt::documents {
namespace {

using report::ControlKind;
using report::SectionKind;

std::unique_ptr<report::Report> Layout(bool boxed) {
  if (boxed) return std::make_unique<rptPurchaseOrder>();
  return std::make_unique<rptPurchaseOrderNG>();
}

// The plain layout draws no rules; no control of either runs past the
// printable width; totals and page numbers are summaries of their columns.
TEST(PurchaseOrderLayoutTest, ControlsFitAndTotalsSumTheirColumnsInBothLayouts) {
  for (bool boxed : {true, false}) {
    SCOPED_TRACE(boxed ? "rptPurchaseOrder" : "rptPurchaseOrderNG");
    auto layout = Layout(boxed);
    EXPECT_EQ(layout->Title(), "Brellix Purchase Order");
    EXPECT_NO_THROW(layout->GetDataControl("dcHeader"));
    for (auto kind : {SectionKind::PageHeader, SectionKind::Detail, SectionKind::PageFooter}) {
      for (const auto& control : layout->FindSection(kind)->Controls()) {
        SCOPED_TRACE(control.Name());
        const bool rule = control.Kind() == ControlKind::Line || control.Kind() == ControlKind::Box;
        EXPECT_FALSE(rule && !boxed);
        EXPECT_LE(control.Bounds().Right(), layout->Page().PrintWidth());
      }
    }
    for (const auto& [field, column] : {std::pair{"fldPFSubTotal", "Net Amount"},
                                        {"fldPFTaxTotal", "Tax Amount"},
                                        {"fldPFOrderTotal", "Total Cost"}}) {
      EXPECT_EQ(layout->Control(field).DataField(), column);
      EXPECT_EQ(layout->Control(field).Summary(), report::SummaryType::GrandSum);
      EXPECT_EQ(layout->Control(field).OutputFormat(), "#,##0.00");
    }
    EXPECT_EQ(layout->Control("fldRDProductDescf").DataField(), "DefaultMessage");
    EXPECT_EQ(layout->Control("fldRDProductDescf").Text(), " Default Message");
    EXPECT_EQ(layout->Control("fldOHPageNo").Summary(), report::SummaryType::PageCount);
    // Run-time bindings name fields the layout has, and start unbound.
    for (const ColumnBinding& binding : kPurchaseOrderBindings) {
      EXPECT_EQ(layout->Control(binding.field).DataField(), "") << binding.field;
    }
  }
}

TEST(PurchaseOrderLayoutTest, DetailFieldsSitUnderTheirHeadingsWithTheAmountFormat) {
  // clang-format off
  const std::pair<const char*, const char*> columns[] = {
      {"lblRHOrderHeadCode", "fldRDProductCode"}, {"Label8", "fldRDProductDesc"},
      {"Label9", "fldRDOrderQty"},   {"Label10", "fldRDUnitPrice"},
      {"Label11", "fldRDTradeDisc"}, {"Label12", "fldRDRebateDisc"},
      {"Label13", "fldRDOtherDisc"}, {"Label14", "fldRDTaxAmount"},
      {"Label15", "fldRDSubTotal"}};
  // clang-format on
  auto layout = Layout(true);
  for (const auto& [heading, field] : columns) {
    SCOPED_TRACE(field);
    const auto& head = layout->Control(heading).Bounds();
    const auto& body = layout->Control(field).Bounds();
    EXPECT_LE(std::abs(head.left - body.left), 10);
    EXPECT_LE(std::abs(head.width - body.width), 10);
    const bool text =
        std::string(field) == "fldRDProductCode" || std::string(field) == "fldRDProductDesc";
    EXPECT_EQ(layout->Control(field).OutputFormat(), text ? "" : "#,##0.00");
  }
}

}  // namespace
}  // namespace kvt::documents
