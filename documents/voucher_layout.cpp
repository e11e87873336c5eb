#include "documents/voucher_layout.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "documents/layout_parts.h"

namespace kvt::documents {

using report::Alignment;
using report::Rect;
using report::ReportControl;
using report::Section;
using report::SectionKind;
using report::SummaryType;

namespace {
constexpr auto kVoucherRows = WithPartyBindings({
    {"Date Received", "fldRHDateReceived"},
    {"GRVID", "fldRHGRVID"},
    {"Username", "fldRHReceivedBy"},
    {"Del Note Number", "fldRHDocumentNo"},
    {"Order Number", "fldRHOrderNo"},
    {nullptr, kVoucherPageNumberField},
    {"Our Ref", "fldRHOurRef"},
    {"Supp Ref", "fldRHYourRef"},
    {"Product Code", "fldRDProductCode"},
    {"Product Desc", "fldRDProductDesc"},
    {"QTY", "fldRDReceivedQty"},
    {"Unit Price", "fldRDUnitPrice"},
    {"Trade Disc", "fldRDTradeDisc"},
    {"Rebate Disc", "fldRDRebateDisc"},
    {"Other Disc", "fldRDOtherDisc"},
    {"Tax Amount", "fldRDTaxAmount"},
    {"SubTotal", "fldRDSubTotal"},
    {"SubTotal", "fldPFSubTotal"},
    {"Tax Amount", "fldPFTaxTotal"},
    {"Total Cost", "fldPFGRVTotal"},
});
}  // namespace

const std::span<const ColumnBinding> kVoucherBindings = kVoucherRows;

namespace {

constexpr const char* kAmountFormat = "#,##0.00";
constexpr double kSmall = 8.5;
constexpr double kNormal = 10;
constexpr double kTitle = 14.5;
// The returned layouts' page header is the received one moved up by the
// room the received layouts leave above their blocks.
constexpr int32_t kReturnedHeaderShift = -453;

using Kind = TextKind;

struct TextControl {
  const char* name;
  Kind kind;
  const char* caption;  // labels only
  Rect rect;
  double size;
};

// Page header of the received layouts, in the order the controls are drawn.
constexpr TextControl kPageHeader[] = {
    {"Label19", Kind::Label, "From: / Supplier:", {2098, 567, 1644, 227}, kSmall},
    {"Label20", Kind::Label, "To: / Purchaser:", {7654, 567, 1814, 227}, kSmall},
    {"fldRHSupName", Kind::Field, "", {57, 850, 5556, 284}, kNormal},
    {"fldRHCoName", Kind::Field, "", {5783, 850, 5386, 284}, kNormal},
    {"fldRHSupPOBox", Kind::Field, "", {57, 1134, 5556, 283}, kSmall},
    {"fldRHCoPOBox", Kind::Field, "", {5783, 1134, 5386, 283}, kSmall},
    {"fldRHSupPostOffice", Kind::Field, "", {57, 1417, 5556, 284}, kSmall},
    {"fldRHCoPostOffice", Kind::Field, "", {5783, 1417, 5386, 284}, kSmall},
    {"fldRHSupPostCode", Kind::Field, "", {57, 1701, 1474, 283}, kSmall},
    {"Label1", Kind::Label, "Tel No:", {2948, 1701, 850, 283}, kSmall},
    {"fldRHSupTelNo", Kind::Field, "", {3855, 1701, 1758, 283}, kSmall},
    {"fldRHCoPostCode", Kind::Field, "", {5783, 1701, 1417, 283}, kSmall},
    {"lblRHCompTelNo", Kind::Label, "Tel No:", {8561, 1701, 850, 283}, kSmall},
    {"fldRHCoTelNo", Kind::Field, "", {9468, 1701, 1701, 283}, kSmall},
    {"Label2", Kind::Label, "Fax No:", {2948, 1984, 850, 284}, kSmall},
    {"fldRHSupFaxNo", Kind::Field, "", {3855, 1984, 1758, 284}, kSmall},
    {"lblRHCompFaxNo", Kind::Label, "Fax No:", {8561, 1984, 850, 284}, kSmall},
    {"fldRHCoFaxNo", Kind::Field, "", {9468, 1984, 1701, 284}, kSmall},
    {"lblRHSupVatNo", Kind::Label, "VAT No:", {2948, 2268, 850, 283}, kSmall},
    {"fldRHSupTaxNo", Kind::Field, "", {3855, 2268, 1758, 283}, kSmall},
    {"lblRHCompRegNo", Kind::Label, "Reg No:", {5783, 2268, 850, 226}, kSmall},
    {"fldRHCoRegNo", Kind::Field, "", {6690, 2268, 1814, 226}, kSmall},
    {"lblRHCompVatRegNo", Kind::Label, "VAT No:", {8561, 2268, 850, 283}, kSmall},
    {"fldRHCoTaxNo", Kind::Field, "", {9468, 2268, 1701, 283}, kSmall},
    {"lblRHDocumentType", Kind::Label, " Goods Received Voucher", {3628, 2608, 3969, 340}, kTitle},
    {"RePrintFlag", Kind::Field, "", {7597, 2608, 1587, 340}, kTitle},
    {"Label21", Kind::Label, "References:", {2211, 3061, 1417, 227}, kSmall},
    {"Label5", Kind::Label, "Received By:", {7880, 3061, 1361, 227}, kSmall},
    {"Label4", Kind::Label, "Delivery Note No:", {57, 3345, 1644, 283}, kSmall},
    {"fldRHDocumentNo", Kind::Field, "", {1757, 3345, 2212, 283}, kSmall},
    {"lblPage", Kind::Label, "Page No:", {4082, 3345, 907, 283}, kSmall},
    {"fldOHPageNo", Kind::Field, "", {5046, 3345, 567, 283}, kSmall},
    {"lblDate", Kind::Label, "Date Received:", {5783, 3345, 1474, 283}, kSmall},
    {"fldRHDateReceived", Kind::Field, "", {7313, 3345, 3856, 283}, kSmall},
    {"Label32", Kind::Label, "Order No:", {57, 3628, 1644, 284}, kNormal},
    {"fldRHOrderNo", Kind::Field, "", {1757, 3628, 3856, 284}, kSmall},
    {"lblGRVNo", Kind::Label, "GRV Number:", {5783, 3628, 1474, 284}, kSmall},
    {"fldRHGRVID", Kind::Field, "", {7313, 3628, 1304, 284}, kSmall},
    {"lblRHOurRef", Kind::Label, "Our Ref:", {57, 3912, 1644, 283}, kSmall},
    {"fldRHOurRef", Kind::Field, "", {1757, 3912, 3856, 283}, kSmall},
    {"Label7", Kind::Label, "Supplier Ref:", {57, 4195, 1644, 284}, kSmall},
    {"fldRHYourRef", Kind::Field, "", {1757, 4195, 3856, 284}, kSmall},
    {"Label31", Kind::Label, "Received By:", {5783, 4195, 1474, 284}, kNormal},
    {"fldRHReceivedBy", Kind::Field, "", {7313, 4195, 3856, 284}, kNormal},
};

// A column of the line table: its heading (last in the page header) and
// the detail field under it.
struct Column {
  const char* heading;
  const char* caption;
  int32_t heading_left;
  int32_t heading_width;
  const char* field;
  int32_t left;
  int32_t width;
  bool amount;  // right-aligned and formatted "#,##0.00"
};

constexpr int32_t kHeadingTop = 4535;
constexpr int32_t kHeadingHeight = 284;

constexpr Column kColumns[] = {
    {"Label30", "Code", 57, 1190, "fldRDProductCode", 57, 1191, false},
    {"Label8", "Description", 1304, 3350, "fldRDProductDesc", 1304, 3350, false},
    {"Label9", "Qty", 4676, 993, "fldRDReceivedQty", 4676, 993, true},
    {"Label10", "Unit Price", 5669, 1021, "fldRDUnitPrice", 5700, 980, true},
    {"Label11", "Trade", 6690, 907, "fldRDTradeDisc", 6690, 907, true},
    {"Label12", "Rebate", 7597, 850, "fldRDRebateDisc", 7540, 907, true},
    {"Label13", "Other", 8447, 907, "fldRDOtherDisc", 8447, 907, true},
    {"Label14", "Tax", 9354, 851, "fldRDTaxAmount", 9354, 851, true},
    {"Label15", "Total", 10205, 1020, "fldRDSubTotal", 10205, 1020, true},
};

constexpr NamedBox kHeaderBoxes[] = {
    {"Shape1", {0, 510, 5669, 2041}},
    {"Shape2", {5726, 510, 5499, 2041}},
    {"shpDocumentDetails", {0, 3005, 5669, 1474}},
    {"Shape8", {5726, 3005, 5499, 1474}},
    {"Shape7", {0, 4535, 11225, 284}},
};

constexpr NamedRule kHeaderRules[] = {
    {"Line54", {0, 794, 5669, 794}},      {"Line55", {5726, 794, 11225, 794}},
    {"Line52", {0, 3288, 5669, 3288}},    {"Line53", {5726, 3288, 11225, 3288}},
    {"Line63", {1247, 4535, 1247, 4819}}, {"Line3", {4650, 4535, 4650, 4819}},
    {"Line19", {5669, 4535, 5669, 4819}}, {"Line17", {6690, 4535, 6690, 4819}},
    {"Line15", {7597, 4535, 7597, 4819}}, {"Line13", {8447, 4535, 8447, 4819}},
    {"Line11", {9354, 4535, 9354, 4819}}, {"Line12", {10205, 4535, 10205, 4819}},
};

// A footer total: its caption and the field that sums its column.
struct Total {
  const char* label;
  const char* caption;
  Rect label_rect;
  const char* field;
  Rect field_rect;
};

constexpr Total kReceivedTotals[] = {
    {"Label16", "Sub Total ", {8164, 57, 1304, 283}, "fldPFSubTotal", {9524, 57, 1701, 283}},
    {"Label17", "Tax Total ", {8164, 340, 1304, 284}, "fldPFTaxTotal", {9524, 340, 1701, 284}},
    {"Label18", "Invoice Total ", {8164, 624, 1304, 283}, "fldPFGRVTotal", {9524, 624, 1701, 283}},
};

constexpr NamedRule kReceivedFooterRules[] = {
    {"Line39", {113, 0, 11225, 0}},
    {"Line64", {9468, 57, 9468, 907}},
    {"Line43", {8164, 340, 11225, 340}},
    {"Line49", {8164, 624, 11225, 624}},
};

constexpr NamedBox kReceivedFooterBoxes[] = {
    {"Shape10", {120, 57, 8020, 850}},
    {"Shape9", {8164, 57, 3061, 850}},
};

// The returned layouts' totals grid: three rows by two columns, captions
// left and amounts right.
constexpr int32_t kGridColumns[] = {7470, 9320, 11100};
constexpr int32_t kGridRows[] = {0, 280, 560, 860};
constexpr int32_t kCellPadding = 28;

constexpr const char* kReturnedTotalCaptions[] = {"Sub Total", "Tax Total", "Credit Note Total"};

void BuildPageHeader(Section& header, int32_t shift, bool ruled) {
  if (ruled) {
    AddBoxes(header, kHeaderBoxes, shift);
  }
  for (const TextControl& text : kPageHeader) {
    AddText(header, text.kind, text.name, text.rect.Offset(0, shift), text.caption)
        .SetFontSize(text.size);
  }
  for (const Column& column : kColumns) {
    ReportControl& heading = header.AddLabel(
        column.heading,
        {column.heading_left, kHeadingTop + shift, column.heading_width, kHeadingHeight},
        column.caption);
    heading.SetFontSize(kSmall).SetBold(true);
    if (column.amount) heading.SetAlignment(Alignment::Right);
  }
  if (ruled) {
    AddRules(header, kHeaderRules, shift);
  }
}

void BuildDetail(Section& detail) {
  for (const Column& column : kColumns) {
    ReportControl& field =
        detail.AddField(column.field, {column.left, 0, column.width, detail.Height()});
    field.SetFontSize(kSmall);
    if (column.amount) {
      field.SetOutputFormat(kAmountFormat).SetAlignment(Alignment::Right);
    }
  }
}

void AddTotal(Section& footer, const char* label, const char* caption, const Rect& label_rect,
              const char* field, const Rect& field_rect) {
  footer.AddLabel(label, label_rect, caption).SetFontSize(kSmall).SetBold(true);
  footer.AddField(field, field_rect)
      .SetSummary(SummaryType::GrandSum)
      .SetOutputFormat(kAmountFormat)
      .SetFontSize(kSmall)
      .SetAlignment(Alignment::Right);
}

void BuildReceivedFooter(Section& footer, bool ruled) {
  if (ruled) {
    AddBoxes(footer, kReceivedFooterBoxes);
  }
  footer.AddField("fldNotes", {150, 80, 7980, 800})
      .SetDataField("Notes")
      .SetFontSize(kSmall)
      .SetWordWrap(true);
  for (const Total& total : kReceivedTotals) {
    AddTotal(footer, total.label, total.caption, total.label_rect, total.field, total.field_rect);
  }
  if (ruled) {
    AddRules(footer, kReceivedFooterRules);
  }
}

void BuildReturnedFooter(Section& footer, bool ruled) {
  for (size_t row = 0; row < std::size(kReceivedTotals); ++row) {
    const int32_t top = kGridRows[row] + kCellPadding;
    const int32_t height = kGridRows[row + 1] - kGridRows[row] - 2 * kCellPadding;
    AddTotal(footer, kReceivedTotals[row].label, kReturnedTotalCaptions[row],
             {kGridColumns[0] + kCellPadding, top,
              kGridColumns[1] - kGridColumns[0] - 2 * kCellPadding, height},
             kReceivedTotals[row].field,
             {kGridColumns[1] + kCellPadding, top,
              kGridColumns[2] - kGridColumns[1] - 2 * kCellPadding, height});
  }
  if (!ruled) return;
  footer.AddLine("Line39", {0, 0, 11112, 0});
  // Line40 to Line48: each vertical drawn row by row; Line49 to Line51: the
  // rule under each row.
  int number = 40;
  for (int32_t x : kGridColumns) {
    for (size_t row = 0; row + 1 < std::size(kGridRows); ++row) {
      footer.AddLine("Line" + std::to_string(number++), {x, kGridRows[row], x, kGridRows[row + 1]});
    }
  }
  for (size_t row = 1; row < std::size(kGridRows); ++row) {
    footer.AddLine("Line" + std::to_string(number++),
                   {kGridColumns[0], kGridRows[row], kGridColumns[2], kGridRows[row]});
  }
}

}  // namespace

void BuildVoucherLayout(report::Report& report, VoucherFamily family, VoucherStyle style) {
  const bool returned = family == VoucherFamily::Returned;
  const bool ruled = style == VoucherStyle::Ruled;
  report.SetTitle(returned ? "Brellix Goods Returned Voucher" : "Brellix Goods Received Voucher");
  // The controls span 11,225 twips; A4 keeps that with narrower margins.
  report.Page().left_margin = 340;
  report.Page().right_margin = 341;

  BuildPageHeader(report.AddSection(SectionKind::PageHeader, "PageHeader", returned ? 4395 : 4845),
                  returned ? kReturnedHeaderShift : 0, ruled);
  BuildDetail(report.AddSection(SectionKind::Detail, "Detail", returned || !ruled ? 225 : 227));
  report.AddDataControl(kVoucherDataControl);
  Section& footer =
      report.AddSection(SectionKind::PageFooter, "PageFooter", returned ? 1245 : 1485);
  if (returned) {
    BuildReturnedFooter(footer, ruled);
  } else {
    BuildReceivedFooter(footer, ruled);
  }

  report.Control("lblRHDocumentType").SetBold(true).SetAlignment(Alignment::Center);
  report.Control("RePrintFlag").SetBold(true);
  report.Control(kVoucherPageNumberField).SetSummary(SummaryType::PageCount);
  for (const char* name :
       {"fldRHSupName", "fldRHCoName", "Label19", "Label20", "Label21", "Label5"}) {
    report.Control(name).SetBold(true);
  }
  if (returned) {
    report.Control("lblRHDocumentType").SetCaption(" Goods Returned Voucher");
    report.Control("RePrintFlag").SetText("Re-Print");
    report.Control("Label19").SetCaption("To: / Supplier:");
    report.Control("Label20").SetCaption("From: / Purchaser:");
    report.Control("Label5").SetCaption("Returned By:");
    report.Control("Label31").SetCaption("Returned By:");
    report.Control("lblDate").SetCaption("Date Returned:");
  } else if (!ruled) {
    for (size_t row = 0; row < std::size(kReceivedTotals); ++row) {
      std::string caption = kReceivedTotals[row].caption;
      caption.pop_back();  // the plain layout's captions end without a blank
      report.Control(kReceivedTotals[row].label).SetCaption(caption);
    }
    report.Control("fldRHSupName").SetFontSize(kSmall);
    report.Control("fldRHCoName").SetFontSize(kSmall);
    report.Control("fldPFTaxTotal").SetFontSize(8);
    report.Control("fldPFGRVTotal").SetFontSize(8);
  }
}

}  // namespace kvt::documents
