// kvt::report::RecordSetSource — a record set seen as a report's rows.
#pragma once

#include "platform/data/record_set.h"
#include "platform/report/data_source.h"

namespace kvt::report {

// Reads the record set it shares. A closed record set has no rows; the
// report moves the set's current row while it runs and leaves it on the
// first row.
class RecordSetSource : public DataSource {
 public:
  explicit RecordSetSource(data::RecordSetRef record_set) : record_set_(std::move(record_set)) {}

  int FieldCount() const override;
  std::string FieldName(int index) const override;
  bool MoveFirst() override;
  bool MoveNext() override;
  vb::Variant Value(int index) const override;

  const data::RecordSetRef& RecordSet() const { return record_set_; }

 private:
  data::RecordSetRef record_set_;
};

}  // namespace kvt::report
