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

TEST(PurchaseOrderLayoutTest, SectionsHaveTheirHeights) {
  for (bool boxed : {true, false}) {
    SCOPED_TRACE(boxed ? "rptPurchaseOrder" : "rptPurchaseOrderNG");
    auto layout = Layout(boxed);
    EXPECT_EQ(layout->Title(), "Brellix Purchase Order");
    EXPECT_EQ(layout->FindSection(SectionKind::PageHeader)->Height(), 4770);
    EXPECT_EQ(layout->FindSection(SectionKind::Detail)->Height(), 330);
    EXPECT_EQ(layout->FindSection(SectionKind::PageFooter)->Height(), boxed ? 1200 : 1245);
    EXPECT_EQ(layout->FindSection(SectionKind::ReportHeader), nullptr);
    EXPECT_EQ(layout->Page().PrintWidth(), 11205);
    EXPECT_NO_THROW(layout->GetDataControl("dcHeader"));
  }
}

TEST(PurchaseOrderLayoutTest, ControlsStandWhereEachVariantPutsThem) {
  struct Case {
    const char* control;
    Rect boxed;
    Rect plain;
  };
  const Case cases[] = {
      {"Label19", {1984, 113, 1644, 227}, {1984, 57, 1644, 226}},
      {"fldRHSupPOBox", {113, 794, 5386, 226}, {57, 680, 5386, 284}},
      {"fldRHCoTelNo", {9354, 1247, 1758, 227}, {9354, 1247, 1701, 227}},
      {"lblRHDocumentType", {4102, 2040, 2960, 405}, {4082, 2041, 3005, 453}},
      {"Label21", {113, 3685, 1871, 227}, {57, 3685, 1871, 170}},
      {"fldRHDelPostCode", {9978, 3685, 1134, 227}, {9921, 3628, 1134, 227}},
      {"fldRHOurRef", {6803, 4139, 4309, 226}, {6803, 4082, 4309, 227}},
      {"Label15", {10148, 4535, 964, 227}, {10148, 4479, 964, 227}},
      {"fldRDProductDesc", {1304, 60, 3458, 236}, {1304, 57, 3458, 226}},
      {"fldRDOrderQty", {4819, 60, 794, 240}, {4819, 57, 794, 226}},
      {"Label17", {7540, 340, 1871, 227}, {7483, 340, 1928, 227}},
      {"fldPFOrderTotal", {9524, 624, 1588, 226}, {9524, 624, 1588, 226}},
      {"fldRDProductDescf", {110, 80, 7250, 750}, {170, 80, 7250, 750}},
  };
  auto boxed = Layout(true);
  auto plain = Layout(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    EXPECT_EQ(boxed->Control(c.control).Bounds(), c.boxed);
    EXPECT_EQ(plain->Control(c.control).Bounds(), c.plain);
  }
}

TEST(PurchaseOrderLayoutTest, TextIsEightAndAHalfPointExceptTitleMarkAndNames) {
  for (bool boxed : {true, false}) {
    SCOPED_TRACE(boxed ? "rptPurchaseOrder" : "rptPurchaseOrderNG");
    auto layout = Layout(boxed);
    for (const auto* section : {layout->FindSection(SectionKind::PageHeader),
                                layout->FindSection(SectionKind::Detail),
                                layout->FindSection(SectionKind::PageFooter)}) {
      for (const auto& control : section->Controls()) {
        if (control.Kind() == ControlKind::Line || control.Kind() == ControlKind::Box) {
          continue;
        }
        SCOPED_TRACE(control.Name());
        double expected = 8.5;
        if (control.Name() == "lblRHDocumentType") expected = boxed ? 14.5 : 13.5;
        if (control.Name() == "RePrintFlag") expected = 14.5;
        if (!boxed && (control.Name() == "fldRHSupName" || control.Name() == "fldRHCoName")) {
          expected = 10;
        }
        EXPECT_EQ(control.TextFont().size, expected);
        // Everything stays inside the printable width.
        EXPECT_LE(control.Bounds().Right(), layout->Page().PrintWidth());
      }
    }
  }
}

TEST(PurchaseOrderLayoutTest, DetailFieldsSitUnderTheirHeadingsWithTheAmountFormat) {
  const std::pair<const char*, const char*> columns[] = {
      {"lblRHOrderHeadCode", "fldRDProductCode"}, {"Label8", "fldRDProductDesc"},
      {"Label9", "fldRDOrderQty"},   {"Label10", "fldRDUnitPrice"},
      {"Label11", "fldRDTradeDisc"}, {"Label12", "fldRDRebateDisc"},
      {"Label13", "fldRDOtherDisc"}, {"Label14", "fldRDTaxAmount"},
      {"Label15", "fldRDSubTotal"}};
  auto layout = Layout(true);
  for (const auto& [heading, field] : columns) {
    SCOPED_TRACE(field);
    const auto& head = layout->Control(heading).Bounds();
    const auto& body = layout->Control(field).Bounds();
    EXPECT_LE(std::abs(head.left - body.left), 10);
    EXPECT_LE(std::abs(head.width - body.width), 10);
    const bool text = std::string(field) == "fldRDProductCode" ||
                      std::string(field) == "fldRDProductDesc";
    EXPECT_EQ(layout->Control(field).OutputFormat(), text ? "" : "#,##0.00");
  }
}

TEST(PurchaseOrderLayoutTest, FooterTotalsAndMessageCarryTheirOwnBinding) {
  for (bool boxed : {true, false}) {
    auto layout = Layout(boxed);
    const std::pair<const char*, const char*> sums[] = {{"fldPFSubTotal", "Net Amount"},
                                                        {"fldPFTaxTotal", "Tax Amount"},
                                                        {"fldPFOrderTotal", "Total Cost"}};
    for (const auto& [field, column] : sums) {
      EXPECT_EQ(layout->Control(field).DataField(), column);
      EXPECT_EQ(layout->Control(field).Summary(), report::SummaryType::Sum);
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

TEST(PurchaseOrderLayoutTest, OnlyTheBoxedVariantHasBoxesAndRules) {
  const char* drawn[] = {"Shape1", "Shape2", "shpDocumentDetails", "Shape5", "Shape8",
                         "Shape6", "Shape7", "Shape9", "Line54", "Line55", "Line52",
                         "Line53", "Line1", "Line12", "Line39", "Line40", "Line51"};
  auto boxed = Layout(true);
  auto plain = Layout(false);
  for (const char* name : drawn) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(boxed->HasControl(name));
    EXPECT_FALSE(plain->HasControl(name));
  }
  EXPECT_EQ(boxed->Control("Shape7").Bounds(), (Rect{0, 4479, 11169, 283}));
  EXPECT_EQ(boxed->Control("Line17").Points(), (report::Segment{6576, 4479, 6576, 4762}));
  EXPECT_EQ(boxed->Control("Line39").Points(), (report::Segment{0, 0, 11180, 0}));
}

}  // namespace
}  // namespace kvt::documents
