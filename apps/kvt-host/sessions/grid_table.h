// A grid as the desk shows it: human captions, cells already turned into
// text with the company's decimals, numbers marked for right alignment.
// Toolkit-free: the Qt model shows it as it is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt::host {

// How a column's values are written.
enum class CellKind {
  kText,      // as it is; Null blank
  kQuantity,  // the quantity decimals, grouped
  kPrice,     // the price decimals, grouped
  kMoney,     // two decimals, grouped
  kCount,     // a whole number, grouped
  kDate,      // "02 Nov 2026"
};

struct GridColumn {
  std::string caption;
  CellKind kind = CellKind::kText;

  bool RightAligned() const { return kind != CellKind::kText && kind != CellKind::kDate; }
};

struct Decimals {
  int32_t quantity = 2;
  int32_t price = 2;
};

struct GridTable {
  std::vector<GridColumn> columns;
  std::vector<std::vector<std::string>> rows;
};

// `value` written as a column of `kind` shows it: Null and Empty blank;
// text that is no number is shown as it is rather than refused.
std::string FormatCell(const vb::Variant& value, CellKind kind, const Decimals& decimals);

// One column of a record set shown in a grid: `field` of each row, written
// as `kind`.
struct FieldColumn {
  const char* caption;
  const char* field;
  CellKind kind;
};

// The grid of `rows` from its first row to its end, one column per entry
// of `columns`; leaves the set at its end. Raises 3265 for a field the set
// lacks.
template <size_t N>
GridTable GridOf(data::RecordSet& rows, const FieldColumn (&columns)[N], const Decimals& decimals) {
  GridTable table;
  for (const FieldColumn& column : columns) table.columns.push_back({column.caption, column.kind});
  if (rows.RecordCount() == 0) return table;
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    std::vector<std::string> cells;
    for (const FieldColumn& column : columns) {
      cells.push_back(FormatCell(rows.Item(column.field).Value(), column.kind, decimals));
    }
    table.rows.push_back(std::move(cells));
  }
  return table;
}

}  // namespace kvt::host
