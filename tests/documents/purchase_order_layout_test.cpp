#include "documents/purchase_order_layout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"

namespace kvt::documents {
namespace {

using report::ControlKind;
using report::Rect;
using report::SectionKind;

std::unique_ptr<report::Report> Layout(bool boxed) {
  if (boxed) return std::make_unique<rptPurchaseOrder>();
  return std::make_unique<rptPurchaseOrderNG>();
}

// Text is 8.5 point but for the title, the reprint mark and the plain
// layout's names; the plain layout draws no rules.
TEST(PurchaseOrderLayoutTest, SectionsFontsAndTotalsOfBothLayouts) {
  for (bool boxed : {true, false}) {
    SCOPED_TRACE(boxed ? "rptPurchaseOrder" : "rptPurchaseOrderNG");
    auto layout = Layout(boxed);
    EXPECT_EQ(layout->Title(), "Brellix Purchase Order");
    EXPECT_EQ(layout->FindSection(SectionKind::ReportHeader), nullptr);
    EXPECT_EQ(layout->Page().PrintWidth(), 11205);
    EXPECT_NO_THROW(layout->GetDataControl("dcHeader"));
    for (auto [kind, height] : {std::pair{SectionKind::PageHeader, 4770},
                                {SectionKind::Detail, 330},
                                {SectionKind::PageFooter, boxed ? 1200 : 1245}}) {
      EXPECT_EQ(layout->FindSection(kind)->Height(), height);
      for (const auto& control : layout->FindSection(kind)->Controls()) {
        SCOPED_TRACE(control.Name());
        const bool rule = control.Kind() == ControlKind::Line || control.Kind() == ControlKind::Box;
        EXPECT_FALSE(rule && !boxed);
        if (rule) continue;
        double expected = 8.5;
        if (control.Name() == "lblRHDocumentType") expected = boxed ? 14.5 : 13.5;
        if (control.Name() == "RePrintFlag") expected = 14.5;
        if (!boxed && (control.Name() == "fldRHSupName" || control.Name() == "fldRHCoName")) {
          expected = 10;
        }
        EXPECT_EQ(control.TextFont().size, expected);
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

TEST(PurchaseOrderLayoutTest, PlainVariantMovesTheBlocksUp) {
  auto boxed = Layout(true);
  auto plain = Layout(false);
  EXPECT_EQ(boxed->Control("fldRHSupPOBox").Bounds(), (Rect{113, 794, 5386, 226}));
  EXPECT_EQ(plain->Control("fldRHSupPOBox").Bounds(), (Rect{57, 680, 5386, 284}));
  EXPECT_EQ(plain->Control("Label17").Bounds(), (Rect{7483, 340, 1928, 227}));
  EXPECT_EQ(boxed->Control("Line17").Points(), (report::Segment{6576, 4479, 6576, 4762}));
}

}  // namespace
}  // namespace kvt::documents
