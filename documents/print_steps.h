// Steps the printing operations share. The printing operations pass over
// each failing statement (vb::PassOver) and go on with the next.
#pragma once

#include <string>

#include "platform/data/record_set.h"
#include "platform/report/report.h"

namespace kvt::documents {

// Binds `field` to `column` under the name the record set gives it. Raises
// 91 without print data, and as the record set and the report do for a
// column or field they lack.
void BindColumn(report::Report& report, const data::RecordSetRef& print_data,
                const std::string& field, const std::string& column);

}  // namespace kvt::documents
