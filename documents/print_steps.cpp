#include "documents/print_steps.h"

#include "platform/value/error.h"

namespace kvt::documents {

void BindColumn(report::Report& report, const data::RecordSetRef& print_data,
                const std::string& field, const std::string& column) {
  if (!print_data) throw vb::Error::ObjectNotSet("documents");
  report.Control(field).SetDataField(print_data->Fields().Item(column).Name());
}

}  // namespace kvt::documents
