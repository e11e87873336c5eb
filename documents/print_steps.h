// Steps the printing operations share. They pass over each failing
// statement and go on with the next, so nothing reaches the caller.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "platform/data/record_set.h"
#include "platform/report/report.h"

namespace kvt::documents {

template <class Statement>
void PassOver(Statement&& statement) noexcept {
  try {
    std::forward<Statement>(statement)();
  } catch (const std::exception&) {
  }
}

// Binds `field` to `column` under the name the record set gives it. Raises
// 91 without print data, and as the record set and the report do for a
// column or field they lack.
void BindColumn(report::Report& report, const data::RecordSetRef& print_data,
                const std::string& field, const std::string& column);

}  // namespace kvt::documents
