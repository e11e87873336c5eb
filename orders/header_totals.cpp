#include "orders/header_totals.h"

#include "platform/data/record_set.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::orders {

HeaderTotals SumOrderDetailRows(data::RecordSet& rows) {
  HeaderTotals totals{};
  if (rows.RecordCount() < 1) return totals;
  // Resolve the columns once: the loop runs over every line of the order.
  std::array<data::Field, 7> fields = {
      rows.Item(kHeaderTotalColumns[0]), rows.Item(kHeaderTotalColumns[1]),
      rows.Item(kHeaderTotalColumns[2]), rows.Item(kHeaderTotalColumns[3]),
      rows.Item(kHeaderTotalColumns[4]), rows.Item(kHeaderTotalColumns[5]),
      rows.Item(kHeaderTotalColumns[6])};
  rows.MoveFirst();
  while (!rows.IsEOF()) {
    for (size_t column = 0; column < fields.size(); ++column) {
      vb::Variant value = fields[column].Value();
      if (value.IsNull()) continue;
      vb::Currency amount =
          value.get_if<vb::Currency>() ? *value.get_if<vb::Currency>() : vb::CCur(value);
      if (!vb::Currency::TryAdd(totals[column], amount, totals[column])) {
        throw vb::Error::Overflow();
      }
    }
    rows.MoveNext();
  }
  return totals;
}

void CalculateHeaderTotals(
    data::RecordSet& rows, const services::NumberFormatService& formatter,
    const std::function<void(int index, const std::string& caption)>& set_caption) {
  HeaderTotals totals = SumOrderDetailRows(rows);
  for (size_t i = 0; i < totals.size(); ++i) {
    set_caption(static_cast<int>(i) + 1,
                formatter.FormatAmount(totals[i], 2, -1, 0, -1));
  }
}

}  // namespace kvt::orders
