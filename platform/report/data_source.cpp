#include "platform/report/data_source.h"

namespace kvt::report {

MemoryTable::MemoryTable(std::vector<std::string> columns) : columns_(std::move(columns)) {}

void MemoryTable::AddRow(std::vector<vb::Variant> row) { rows_.push_back(std::move(row)); }

int MemoryTable::FieldCount() const { return static_cast<int>(columns_.size()); }

std::string MemoryTable::FieldName(int index) const {
  return columns_.at(static_cast<size_t>(index));
}

bool MemoryTable::MoveFirst() {
  position_ = 0;
  return !rows_.empty();
}

bool MemoryTable::MoveNext() {
  if (position_ < rows_.size()) ++position_;
  return position_ < rows_.size();
}

vb::Variant MemoryTable::Value(int index) const {
  if (position_ >= rows_.size() || index < 0) return {};
  const auto& row = rows_[position_];
  const auto column = static_cast<size_t>(index);
  return column < row.size() ? row[column] : vb::Variant();
}

}  // namespace kvt::report
