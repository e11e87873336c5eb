// Test helper: a record set with the given typed columns and rows,
// positioned on its first row.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/data/record_set.h"

namespace kvt::test_support {

using Columns = std::vector<std::pair<std::string, data::DataType>>;

inline data::RecordSetRef RowsOf(const Columns& columns,
                                 const std::vector<std::vector<vb::Variant>>& rows) {
  auto set = std::make_shared<data::RecordSet>();
  for (const auto& [name, type] : columns) set->Fields().Append(name, type);
  set->Open();
  for (const auto& row : rows) set->AppendRow(row);
  set->MoveFirst();
  return set;
}

}  // namespace kvt::test_support
