#include "vouchers/voucher_header.h"

#include <array>
#include <string>

#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "platform/value/failure_style.h"
#include "services/number_format_service.h"

namespace kvt::vouchers {
namespace {

// kvHeaderEdit positions.
constexpr int kDelNoteNo = 1;
constexpr int kOrderNo = 2;
constexpr int kSupplierRef = 3;
constexpr int kFirstTotal = 4;

constexpr std::array<const char*, 6> kTotalColumns = {"Trade Disc", "Rebate Disc", "Other Disc",
                                                      "Net Amount", "Tax Amount",  "Total Cost"};

// Sets `property` of element `index` of the host's control array.
void SetElement(const vb::Variant& array, int index, const char* property,
                const vb::Variant& value) {
  object::ObjectPtr element = object::AsObject(array)->Item(index);
  element->Let(property, value);
}

void ClearElements(const vb::Variant& array, std::initializer_list<int> indexes) {
  for (int index : indexes) {
    vb::PassOver([&] { SetElement(array, index, "Text", std::string()); });
  }
}

// The running total plus `value`, the sum rounded to four decimals: a
// value with more decimals is not rounded on its own first. Money adds
// exactly.
vb::Currency AddToTotal(vb::Currency total, const vb::Variant& value) {
  if (const vb::Currency* money = value.get_if<vb::Currency>()) return total + *money;
  return vb::Currency::FromDouble(total.ToDouble() + vb::CDbl(value));
}

}  // namespace

void InsertOrderHeaderValues(data::RecordSet& rs, const vb::Variant& labels,
                             const vb::Variant& text_boxes) {
  vb::PassOver([&] {
    vb::Variant order_no = rs.Item("OrderNo").Value();
    if (!order_no.IsNull()) SetElement(labels, kOrderNo, "Caption", order_no);
  });
  vb::PassOver([&] {
    vb::Variant reference = rs.Item("Supplier Ref").Value();
    if (!reference.IsNull()) SetElement(text_boxes, kSupplierRef, "Text", reference);
  });
}

void InsertGRVHeaderValues(data::RecordSet& rs, const vb::Variant& label) {
  vb::PassOver([&] {
    vb::Variant note = rs.Item("Del Note No").Value();
    if (!note.IsNull()) object::LetProperty(label, "Caption", note);
  });
}

void ClearHeaderControls(const vb::Variant& text_boxes, const vb::Variant& labels) {
  ClearElements(text_boxes, {kDelNoteNo, kSupplierRef});
  ClearElements(labels, {kOrderNo, 4, 5, 6, 7, 8, 9});
}

void ClearReturnHeaderControls(const vb::Variant& text_boxes, const vb::Variant& labels) {
  ClearElements(text_boxes, {kDelNoteNo});
  ClearElements(labels, {4, 5, 6, 7, 8, 9});
}

void CalculateVoucherTotals(data::RecordSet& rs, const vb::Variant& total_labels) {
  vb::RaiseToCaller([&] {
    const vb::Variant bookmark = rs.Bookmark();
    std::array<vb::Currency, kTotalColumns.size()> totals{};
    rs.MoveFirst();
    while (!rs.IsEOF()) {
      for (size_t column = 0; column < kTotalColumns.size(); ++column) {
        const vb::Variant value = rs.Item(kTotalColumns[column]).Value();
        if (!value.IsNull()) totals[column] = AddToTotal(totals[column], value);
      }
      rs.MoveNext();
    }
    const services::NumberFormatService& formatter = component::ThreadStore().NumberFormat();
    for (size_t column = 0; column < kTotalColumns.size(); ++column) {
      SetElement(total_labels, kFirstTotal + static_cast<int>(column), "Text",
                 formatter.FormatAmount(totals[column], 2, -1, 0, -1));
    }
    rs.Bookmark(bookmark);
  });
}

bool CanChangeFunction(uint8_t function, data::RecordSet* rs) {
  return vb::RaiseToCaller([&] {
    if (rs == nullptr) return true;
    if (function == 0 || function == 1) return rs->RecordCount() <= 0;
    return false;
  });
}

}  // namespace kvt::vouchers
