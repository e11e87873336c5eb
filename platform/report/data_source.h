// report::DataSource — the rows a report prints, seen through the few
// operations the engine needs. A record set satisfies it through an
// adapter; MemoryTable is a plain in-memory one.
#pragma once

#include <string>
#include <vector>

#include "platform/value/variant.h"

namespace kvt::report {

class DataSource {
 public:
  virtual ~DataSource() = default;

  virtual int FieldCount() const = 0;
  // Column name as the source reports it, for 0 <= index < FieldCount().
  virtual std::string FieldName(int index) const = 0;
  // Moves to the first row; false when there are no rows.
  virtual bool MoveFirst() = 0;
  // Moves to the next row; false when it moved past the last row.
  virtual bool MoveNext() = 0;
  // Value of a column of the current row (only called on a row).
  virtual vb::Variant Value(int index) const = 0;
};

// Rows held in memory, as given. Rows shorter than the column list read
// Empty in the missing columns.
class MemoryTable : public DataSource {
 public:
  explicit MemoryTable(std::vector<std::string> columns);

  void AddRow(std::vector<vb::Variant> row);
  size_t RowCount() const { return rows_.size(); }

  int FieldCount() const override;
  std::string FieldName(int index) const override;
  bool MoveFirst() override;
  bool MoveNext() override;
  vb::Variant Value(int index) const override;

 private:
  std::vector<std::string> columns_;
  std::vector<std::vector<vb::Variant>> rows_;
  size_t position_ = 0;
};

}  // namespace kvt::report
