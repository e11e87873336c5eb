// report::DataControl — the control that gives a report its rows. Its
// design-time source is replaced at run time by a record set.
#pragma once

#include <memory>
#include <string>

#include "platform/data/record_set.h"
#include "platform/report/data_source.h"
#include "platform/report/record_set_source.h"

namespace kvt::report {

class DataControl {
 public:
  explicit DataControl(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  // The rows the report prints; null (no rows) until one is given. The
  // report shares the source and reads it from its first row when run.
  const std::shared_ptr<DataSource>& Recordset() const { return recordset_; }
  void SetRecordset(std::shared_ptr<DataSource> recordset) { recordset_ = std::move(recordset); }
  // A record set, read through RecordSetSource; null clears the rows.
  void SetRecordset(data::RecordSetRef record_set) {
    if (record_set) {
      recordset_ = std::make_shared<RecordSetSource>(std::move(record_set));
    } else {
      recordset_.reset();
    }
  }

 private:
  std::string name_;
  std::shared_ptr<DataSource> recordset_;
};

}  // namespace kvt::report
