#include "platform/report/record_set_source.h"

namespace kvt::report {

int RecordSetSource::FieldCount() const { return record_set_ ? record_set_->Fields().Count() : 0; }

std::string RecordSetSource::FieldName(int index) const {
  return record_set_->Fields().Item(index).Name();
}

bool RecordSetSource::MoveFirst() {
  if (!record_set_ || !record_set_->IsOpen()) return false;
  record_set_->MoveFirst();
  return !record_set_->IsEOF();
}

bool RecordSetSource::MoveNext() {
  if (record_set_->IsEOF()) return false;
  record_set_->MoveNext();
  return !record_set_->IsEOF();
}

vb::Variant RecordSetSource::Value(int index) const {
  return record_set_->Fields().Item(index).Value();
}

}  // namespace kvt::report
