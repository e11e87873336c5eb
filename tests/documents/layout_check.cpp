#include "tests/documents/layout_check.h"

#include <algorithm>
#include <map>
#include <span>

#include "documents/hostile_sample.h"
#include "documents/purchase_order_layout.h"
#include "documents/rptGoodsReceived.h"
#include "documents/rptGoodsReceivedNG.h"
#include "documents/rptGoodsReturned.h"
#include "documents/rptGoodsReturnedNG.h"
#include "documents/rptPurchaseOrder.h"
#include "documents/rptPurchaseOrderNG.h"
#include "documents/voucher_layout.h"

#include "platform/report/line_break.h"
#include "platform/report/text_fit.h"
#include "platform/value/conversions.h"
#include "platform/value/currency.h"
#include "platform/value/text.h"

namespace kvt::documents::testing {

using report::Alignment;
using report::ControlKind;
using report::SectionKind;
using report::SummaryType;

namespace {

// Overlaps smaller than this (twips) are rounding, not ink.
constexpr double kTolerance = 0.5;

std::string Describe(const LineBox& box) {
  return box.item->control + " \"" + box.text + "\" at " + std::to_string(box.left) + "-" +
         std::to_string(box.right) + " x " + std::to_string(box.top) + "-" +
         std::to_string(box.bottom);
}

std::string Shown(const vb::Variant& value, const std::string& format) {
  if (value.IsNull() || value.IsEmpty()) return {};
  return format.empty() ? vb::CStr(value) : vb::Format(value, format);
}

SectionKind SectionOf(const report::Report& layout, const report::ReportControl& control) {
  for (SectionKind kind : {SectionKind::ReportHeader, SectionKind::PageHeader, SectionKind::Detail,
                           SectionKind::PageFooter, SectionKind::ReportFooter}) {
    const report::Section* section = layout.FindSection(kind);
    if (section == nullptr) continue;
    for (const report::ReportControl& field : section->Controls()) {
      if (&field == &control) return kind;
    }
  }
  return SectionKind::PageHeader;
}

}  // namespace

std::vector<LineBox> LineBoxesOf(const report::Page& page, const report::TextMetrics& metrics) {
  std::vector<LineBox> boxes;
  for (const report::DisplayItem& display : page.items) {
    const auto* item = std::get_if<report::TextItem>(&display);
    if (item == nullptr || item->text.empty()) continue;
    const double line_height = metrics.LineHeight(item->font);
    const double left = item->rect.left + report::kTextInset;
    const double right = item->rect.Right() - report::kTextInset;
    size_t start = 0;
    for (int index = 0;; ++index) {
      const size_t end = item->text.find('\n', start);
      std::string line = item->text.substr(start, end - start);
      const double width = metrics.Width(line, item->font);
      double x = left;
      if (item->alignment == Alignment::Right) x = right - width;
      if (item->alignment == Alignment::Center) x = left + (right - left - width) / 2;
      const double top = item->rect.top + index * line_height;
      if (!line.empty())
        boxes.push_back({item, std::move(line), x, top, x + width, top + line_height});
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return boxes;
}

std::vector<std::string> OverlapProblems(const report::Page& page,
                                         const report::TextMetrics& metrics) {
  std::vector<std::string> problems;
  const std::vector<LineBox> boxes = LineBoxesOf(page, metrics);
  for (const LineBox& box : boxes) {
    const report::Rect& rect = box.item->rect;
    if (box.left < rect.left - kTolerance || box.right > rect.Right() + kTolerance) {
      problems.push_back("past its box: " + Describe(box));
    }
  }
  for (size_t a = 0; a < boxes.size(); ++a) {
    for (size_t b = a + 1; b < boxes.size(); ++b) {
      if (boxes[a].item == boxes[b].item) continue;
      const double across =
          std::min(boxes[a].right, boxes[b].right) - std::max(boxes[a].left, boxes[b].left);
      const double down =
          std::min(boxes[a].bottom, boxes[b].bottom) - std::max(boxes[a].top, boxes[b].top);
      if (across > kTolerance && down > kTolerance) {
        problems.push_back("overlap: " + Describe(boxes[a]) + " and " + Describe(boxes[b]));
      }
    }
  }
  return problems;
}

std::string FirstProblems(const std::vector<std::string>& problems) {
  std::string text;
  for (size_t index = 0; index < problems.size() && index < 8; ++index) {
    text += problems[index] + "\n";
  }
  return text;
}

std::string Unbroken(const std::string& text) {
  const std::string mark = report::kBreakMark;
  std::string said;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, mark.size(), mark) == 0 &&
        (at + mark.size() == text.size() || text[at + mark.size()] == '\n')) {
      at += mark.size() - 1;
      continue;
    }
    if (text[at] != ' ' && text[at] != '\n') said += text[at];
  }
  return said;
}

std::vector<std::string> WholenessProblems(const report::Report& layout,
                                           const report::Document& document,
                                           report::MemoryTable& data) {
  std::map<std::string, int> column_of;  // lower-case name
  for (int index = 0; index < data.FieldCount(); ++index) {
    column_of[vb::LCase(data.FieldName(index))] = index;
  }
  std::vector<std::vector<vb::Variant>> rows;
  for (bool on = data.MoveFirst(); on; on = data.MoveNext()) {
    auto& row = rows.emplace_back();
    for (int index = 0; index < data.FieldCount(); ++index) row.push_back(data.Value(index));
  }
  const report::Section& detail = *layout.FindSection(SectionKind::Detail);
  const std::string counted = detail.Controls().front().Name();
  std::vector<std::string> problems;
  size_t first_row = 0;
  for (const report::Page& page : document.pages) {
    const size_t rows_here = page.FindTexts(counted).size();
    std::map<std::string, size_t> seen;  // detail items of each field so far
    for (const report::DisplayItem& display : page.items) {
      const auto* item = std::get_if<report::TextItem>(&display);
      if (item == nullptr) continue;
      const report::ReportControl& control = layout.Control(item->control);
      std::string expected;
      if (control.Kind() == ControlKind::Label) {
        expected = control.Caption();
      } else if (control.Summary() == SummaryType::PageCount) {
        expected = std::to_string(page.number);
      } else if (control.DataField().empty()) {
        expected = control.Text();
      } else if (const auto column = column_of.find(vb::LCase(control.DataField()));
                 column != column_of.end()) {
        const auto slot = static_cast<size_t>(column->second);
        if (control.Summary() != SummaryType::None) {
          vb::Currency sum;
          for (const auto& row : rows) {
            if (!row[slot].IsEmpty()) sum += vb::CCur(row[slot]);
          }
          expected = Shown(vb::Variant(sum), control.OutputFormat());
        } else {
          size_t row = first_row;
          const SectionKind section = SectionOf(layout, control);
          if (section == SectionKind::Detail) row += seen[control.Name()]++;
          if (section == SectionKind::PageFooter && rows_here > 0) row += rows_here - 1;
          if (row < rows.size()) expected = Shown(rows[row][slot], control.OutputFormat());
        }
      }
      if (Unbroken(item->text) != Unbroken(expected)) {
        problems.push_back("page " + std::to_string(page.number) + " " + item->control +
                           " shows \"" + item->text + "\" for \"" + expected + "\"");
      }
    }
    first_row += rows_here;
  }
  return problems;
}

namespace {

HostileCase Bound(std::unique_ptr<report::Report> layout, std::shared_ptr<report::MemoryTable> data,
                  std::span<const ColumnBinding> bindings) {
  layout->GetDataControl("dcHeader").SetRecordset(data);
  for (const ColumnBinding& binding : bindings) {
    if (binding.column != nullptr) layout->Control(binding.field).SetDataField(binding.column);
  }
  return {std::move(layout), std::move(data)};
}

}  // namespace

std::vector<HostileCase> HostileCases() {
  std::vector<HostileCase> cases;
  cases.push_back(Bound(std::make_unique<rptPurchaseOrder>(), HostilePurchaseOrderData(),
                        kPurchaseOrderBindings));
  cases.push_back(Bound(std::make_unique<rptPurchaseOrderNG>(), HostilePurchaseOrderData(),
                        kPurchaseOrderBindings));
  cases.push_back(
      Bound(std::make_unique<rptGoodsReceived>(), HostileVoucherData(19), kVoucherBindings));
  cases.push_back(
      Bound(std::make_unique<rptGoodsReceivedNG>(), HostileVoucherData(31), kVoucherBindings));
  cases.push_back(
      Bound(std::make_unique<rptGoodsReturned>(), HostileVoucherData(20), kVoucherBindings));
  cases.push_back(
      Bound(std::make_unique<rptGoodsReturnedNG>(), HostileVoucherData(20), kVoucherBindings));
  return cases;
}

}  // namespace kvt::documents::testing
