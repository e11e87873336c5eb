#include "documents/purchase_order_layout.h"

#include <cstdint>

#include "documents/layout_parts.h"

namespace kvt::documents {

using report::Alignment;
using report::Rect;
using report::ReportControl;
using report::Section;
using report::SectionKind;
using report::SummaryType;

namespace {
constexpr auto kPurchaseOrderRows = WithPartyBindings({
    {"Date Ordered", "fldRHDateOrdered"},
    {"Order Number", "fldRHDocumentNo"},
    {"Rep", "fldRHRep"},
    {"Del Name", "fldRHBranch"},
    {"Del Addr1", "fldRHDelAddr1"},
    {"Del Addr2", "fldRHDelAddr2"},
    {"Del Addr3", "fldRHDelAddr3"},
    {"Del PostCode", "fldRHDelPostCode"},
    {"Supp Ref", "fldRHYourRef"},
    {"Our Ref", "fldRHOurRef"},
    {"Product Code", "fldRDProductCode"},
    {"Product Desc", "fldRDProductDesc"},
    {"QTY", "fldRDOrderQty"},
    {"Unit Price", "fldRDUnitPrice"},
    {"Trade Disc", "fldRDTradeDisc"},
    {"Rebate Disc", "fldRDRebateDisc"},
    {"Other Disc", "fldRDOtherDisc"},
    {"Tax Amount", "fldRDTaxAmount"},
    {"Total Cost", "fldRDSubTotal"},
});
}  // namespace

const std::span<const ColumnBinding> kPurchaseOrderBindings = kPurchaseOrderRows;

namespace {

constexpr const char* kAmountFormat = "#,##0.00";

using Kind = TextKind;

// A text control with its place in each variant.
struct TextControl {
  const char* name;
  Kind kind;
  const char* caption;  // labels only
  Rect boxed;
  Rect plain;
};

// Page header, in the order the controls are drawn.
constexpr TextControl kPageHeader[] = {
    {"Label19", Kind::Label, "To: / Supplier:", {1984, 113, 1644, 227}, {1984, 57, 1644, 226}},
    {"Label20", Kind::Label, "From: / Purchaser:", {7540, 113, 1814, 227}, {7540, 57, 1814, 226}},
    {"fldRHSupName", Kind::Field, "", {113, 454, 5386, 283}, {57, 397, 5386, 283}},
    {"fldRHSupPOBox", Kind::Field, "", {113, 794, 5386, 226}, {57, 680, 5386, 284}},
    {"fldRHSupPostOffice", Kind::Field, "", {113, 1020, 5386, 227}, {57, 964, 5386, 227}},
    {"fldRHSupPostCode", Kind::Field, "", {113, 1247, 1418, 227}, {57, 1247, 1417, 227}},
    {"Label1", Kind::Label, "Tel No:", {2891, 1247, 851, 227}, {2891, 1247, 851, 227}},
    {"fldRHSupTelNo", Kind::Field, "", {3742, 1247, 1757, 227}, {3742, 1247, 1757, 227}},
    {"Label2", Kind::Label, "Fax No:", {2891, 1474, 851, 227}, {2891, 1474, 851, 227}},
    {"fldRHSupFaxNo", Kind::Field, "", {3742, 1474, 1757, 227}, {3742, 1474, 1757, 227}},
    {"lblRHSupVatNo", Kind::Label, "VAT No:", {2891, 1701, 851, 227}, {2891, 1701, 851, 227}},
    {"fldRHSupTaxNo", Kind::Field, "", {3742, 1701, 1757, 227}, {3742, 1701, 1757, 227}},
    {"fldRHCoName", Kind::Field, "", {5783, 454, 5329, 283}, {5726, 397, 5329, 283}},
    {"fldRHCoPOBox", Kind::Field, "", {5783, 794, 5329, 226}, {5726, 680, 5329, 284}},
    {"fldRHCoPostOffice", Kind::Field, "", {5783, 1020, 5329, 227}, {5726, 964, 5329, 227}},
    {"fldRHCoPostCode", Kind::Field, "", {5783, 1247, 1417, 227}, {5726, 1247, 1417, 227}},
    {"lblRHCompTelNo", Kind::Label, "Tel No:", {8504, 1247, 850, 227}, {8447, 1247, 851, 227}},
    {"fldRHCoTelNo", Kind::Field, "", {9354, 1247, 1758, 227}, {9354, 1247, 1701, 227}},
    {"lblRHCompFaxNo", Kind::Label, "Fax No:", {8504, 1474, 850, 227}, {8447, 1474, 851, 227}},
    {"fldRHCoFaxNo", Kind::Field, "", {9354, 1474, 1758, 227}, {9354, 1474, 1701, 227}},
    {"lblRHCompRegNo", Kind::Label, "Reg No:", {5783, 1701, 737, 227}, {5726, 1701, 737, 227}},
    {"fldRHCoRegNo", Kind::Field, "", {6520, 1701, 1927, 227}, {6463, 1701, 1928, 227}},
    {"lblRHCompVatRegNo", Kind::Label, "VAT No:", {8504, 1701, 850, 227}, {8447, 1701, 851, 227}},
    {"fldRHCoTaxNo", Kind::Field, "", {9354, 1701, 1758, 227}, {9354, 1701, 1701, 227}},
    {"lblRHDocumentType",
     Kind::Label,
     " Purchase Order",
     {4102, 2040, 2960, 405},
     {4082, 2041, 3005, 453}},
    {"RePrintFlag", Kind::Field, "", {7030, 2041, 1871, 397}, {7030, 2041, 1871, 397}},
    {"Label6", Kind::Label, "References:", {2098, 2608, 1417, 227}, {2098, 2608, 1417, 227}},
    {"Label5", Kind::Label, "Deliver To:", {7767, 2608, 1361, 227}, {7767, 2608, 1361, 227}},
    {"lblDate", Kind::Label, "Date Ordered:", {113, 2948, 1871, 283}, {57, 2948, 1871, 227}},
    {"fldRHDateOrdered", Kind::Field, "", {2154, 2948, 2155, 283}, {2098, 2948, 2154, 227}},
    {"lblPage", Kind::Label, "Page No:", {113, 3231, 1871, 227}, {57, 3175, 1871, 227}},
    {"fldOHPageNo", Kind::Field, "", {2154, 3231, 2155, 227}, {2098, 3175, 2154, 227}},
    {"Label4", Kind::Label, "Order No:", {113, 3458, 1871, 227}, {57, 3402, 1871, 226}},
    {"fldRHDocumentNo", Kind::Field, "", {2154, 3458, 2155, 227}, {2098, 3402, 2154, 226}},
    {"Label21", Kind::Label, "Salesperson:", {113, 3685, 1871, 227}, {57, 3685, 1871, 170}},
    {"fldRHRep", Kind::Field, "", {2154, 3685, 3345, 227}, {2098, 3685, 3345, 227}},
    {"fldRHBranch", Kind::Field, "", {5783, 2948, 5329, 283}, {5726, 2948, 5329, 227}},
    {"fldRHDelAddr1", Kind::Field, "", {5783, 3231, 5329, 227}, {5726, 3175, 5329, 227}},
    {"fldRHDelAddr2", Kind::Field, "", {5783, 3458, 5329, 227}, {5726, 3402, 5329, 226}},
    {"fldRHDelAddr3", Kind::Field, "", {5783, 3685, 4138, 227}, {5726, 3628, 4139, 227}},
    {"fldRHDelPostCode", Kind::Field, "", {9978, 3685, 1134, 227}, {9921, 3628, 1134, 227}},
    {"Label7", Kind::Label, "Your Ref:", {57, 4139, 1134, 226}, {57, 4082, 1134, 227}},
    {"fldRHYourRef", Kind::Field, "", {1247, 4139, 4252, 226}, {1247, 4082, 4252, 227}},
    {"lblRHOrderOurRef", Kind::Label, "Our Ref:", {5726, 4139, 1020, 226}, {5726, 4082, 1020, 227}},
    {"fldRHOurRef", Kind::Field, "", {6803, 4139, 4309, 226}, {6803, 4082, 4309, 227}},
};

// A column of the line table: its heading in the page header and the
// detail field under it.
struct Column {
  const char* heading;
  const char* caption;
  int32_t left;
  int32_t width;
  const char* field;
  bool amount;  // right-aligned and formatted "#,##0.00"
};

constexpr Column kColumns[] = {
    {"lblRHOrderHeadCode", "Code", 57, 1190, "fldRDProductCode", false},
    {"Label8", "Description", 1304, 3458, "fldRDProductDesc", false},
    {"Label9", "Qty", 4819, 794, "fldRDOrderQty", true},
    {"Label10", "Unit Price", 5613, 963, "fldRDUnitPrice", true},
    {"Label11", "Trade", 6633, 794, "fldRDTradeDisc", true},
    {"Label12", "Rebate", 7483, 851, "fldRDRebateDisc", true},
    {"Label13", "Other", 8391, 793, "fldRDOtherDisc", true},
    {"Label14", "Tax", 9241, 850, "fldRDTaxAmount", true},
    {"Label15", "Total", 10148, 964, "fldRDSubTotal", true},
};

// Boxes and rules of the boxed variant's page header.
constexpr NamedBox kHeaderBoxes[] = {
    {"Shape1", {0, 57, 5613, 1927}},
    {"Shape2", {5669, 57, 5500, 1927}},
    {"shpDocumentDetails", {0, 2551, 5613, 1474}},
    {"Shape5", {5669, 2551, 5500, 1474}},
    {"Shape8", {0, 4082, 5613, 340}},
    {"Shape6", {5669, 4082, 5500, 340}},
    {"Shape7", {0, 4479, 11169, 283}},
};

constexpr NamedRule kHeaderRules[] = {
    {"Line54", {0, 340, 5613, 340}},      {"Line55", {5669, 340, 11169, 340}},
    {"Line52", {0, 2835, 5613, 2835}},    {"Line53", {5669, 2835, 11169, 2835}},
    {"Line1", {1247, 4479, 1247, 4762}},  {"Line3", {4762, 4479, 4762, 4762}},
    {"Line19", {5613, 4479, 5613, 4762}}, {"Line17", {6576, 4479, 6576, 4762}},
    {"Line15", {7483, 4479, 7483, 4762}}, {"Line13", {8334, 4479, 8334, 4762}},
    {"Line11", {9184, 4479, 9184, 4762}}, {"Line12", {10091, 4479, 10091, 4762}},
};

// The totals box: three verticals drawn row by row, then the rules under
// each total.
constexpr NamedRule kFooterRules[] = {
    {"Line39", {0, 0, 11180, 0}},         {"Line40", {7483, 0, 7483, 283}},
    {"Line41", {7483, 283, 7483, 567}},   {"Line42", {7483, 567, 7483, 850}},
    {"Line43", {9468, 0, 9468, 283}},     {"Line44", {9468, 283, 9468, 567}},
    {"Line45", {9468, 567, 9468, 850}},   {"Line46", {11160, 0, 11160, 283}},
    {"Line47", {11160, 283, 11160, 567}}, {"Line48", {11160, 567, 11160, 850}},
    {"Line49", {7483, 283, 11169, 283}},  {"Line50", {7483, 567, 11169, 567}},
    {"Line51", {7483, 850, 11169, 850}},
};

struct Total {
  const char* label;
  const char* caption;
  int32_t top;
  int32_t height;
  const char* field;
  const char* column;
};

constexpr Total kTotals[] = {
    {"Label16", "Sub Total", 57, 226, "fldPFSubTotal", "Net Amount"},
    {"Label17", "Tax Total", 340, 227, "fldPFTaxTotal", "Tax Amount"},
    {"Label18", "Order Total", 624, 226, "fldPFOrderTotal", "Total Cost"},
};

void BuildPageHeader(Section& header, bool boxed) {
  if (boxed) {
    AddBoxes(header, kHeaderBoxes);
  }
  for (const TextControl& text : kPageHeader) {
    AddText(header, text.kind, text.name, boxed ? text.boxed : text.plain, text.caption);
  }
  for (const Column& column : kColumns) {
    ReportControl& heading = header.AddLabel(
        column.heading, {column.left, boxed ? 4535 : 4479, column.width, 227}, column.caption);
    heading.SetBold(true);
    if (column.amount) heading.SetAlignment(Alignment::Right);
  }
  if (boxed) {
    AddRules(header, kHeaderRules);
  }
}

void BuildDetail(Section& detail, bool boxed) {
  for (const Column& column : kColumns) {
    const bool description = column.field == kColumns[1].field;
    const int32_t top = boxed ? 60 : 57;
    const int32_t height = boxed ? (description ? 236 : 240) : 226;
    ReportControl& field = detail.AddField(column.field, {column.left, top, column.width, height});
    if (column.amount) {
      field.SetOutputFormat(kAmountFormat).SetAlignment(Alignment::Right);
    }
  }
}

void BuildPageFooter(Section& footer, bool boxed) {
  if (boxed) footer.AddBox("Shape9", {0, 0, 7450, 870});
  for (const Total& total : kTotals) {
    footer.AddLabel(total.label,
                    boxed ? Rect{7540, total.top, 1871, total.height}
                          : Rect{7483, total.top, 1928, total.height},
                    total.caption);
    footer.AddField(total.field, {9524, total.top, 1588, total.height})
        .SetDataField(total.column)
        .SetSummary(SummaryType::GrandSum)
        .SetOutputFormat(kAmountFormat)
        .SetAlignment(Alignment::Right);
  }
  footer.AddField("fldRDProductDescf", {boxed ? 110 : 170, 80, 7250, 750})
      .SetDataField("DefaultMessage")
      .SetText(" Default Message")
      .SetWordWrap(true);
  if (boxed) {
    AddRules(footer, kFooterRules);
  }
}

}  // namespace

void BuildPurchaseOrderLayout(report::Report& report, PurchaseOrderStyle style) {
  const bool boxed = style == PurchaseOrderStyle::Boxed;
  report.SetTitle(kPurchaseOrderTitle);

  BuildPageHeader(report.AddSection(SectionKind::PageHeader, "PageHeader", 4770), boxed);
  BuildDetail(report.AddSection(SectionKind::Detail, "Detail", 330), boxed);
  report.AddDataControl(kPurchaseOrderDataControl);
  BuildPageFooter(report.AddSection(SectionKind::PageFooter, "PageFooter", boxed ? 1200 : 1245),
                  boxed);

  // Text is 8.5 point (the control default) except these.
  report.Control("lblRHDocumentType")
      .SetFontSize(boxed ? 14.5 : 13.5)
      .SetBold(true)
      .SetAlignment(Alignment::Center);
  report.Control("RePrintFlag").SetFontSize(14.5).SetBold(true);
  if (!boxed) {
    report.Control("fldRHSupName").SetFontSize(10);
    report.Control("fldRHCoName").SetFontSize(10);
  }
  for (const char* name : {"fldRHSupName", "fldRHCoName", "Label19", "Label20", "Label6", "Label5",
                           "Label16", "Label17", "Label18"}) {
    report.Control(name).SetBold(true);
  }
  report.Control("fldOHPageNo").SetSummary(SummaryType::PageCount);
}

}  // namespace kvt::documents
