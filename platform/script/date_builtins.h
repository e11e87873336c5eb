// The language's date functions: Date, Time, Now, DateSerial, TimeSerial,
// DateValue, TimeValue, Year, Month, Day, Weekday, Hour, Minute, Second,
// MonthName, WeekdayName, DateAdd, DateDiff and DatePart. Dates outside
// the years 100 to 9999 raise 5 where a function builds them, 6 where an
// argument converts to one.
#pragma once

#include "platform/script/builtin_support.h"

namespace kvt::script {

BuiltinTable DateBuiltins();

}  // namespace kvt::script
