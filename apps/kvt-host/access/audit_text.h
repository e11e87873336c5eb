// Posting periods in the audit trail's details, as a person names them
// (amounts go through vb::TwoDecimalText).
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/connection.h"

namespace kvt::access {

// "November 2026": the posting period `month` of the year whose key is
// `year_key`; "month 11 of year key 7" when the database has no such year.
std::string PeriodName(data::Connection& connection, int32_t month, int32_t year_key);

}  // namespace kvt::access
