// Dates as the engine's functions take them apart and put them together.
//
// A date is the platform's serial: days since 30 December 1899, the
// fraction being the time of day, which counts forward from midnight even
// before the zero date (-1.25 is 29 December 1899, 06:00). The functions
// here work on the day number and the seconds of the day instead, so that
// adding hours or months never has to reason about that encoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/value/date.h"
#include "platform/value/variant.h"

namespace kvt::script {

inline constexpr int64_t kSecondsPerDay = 86400;

// a / b rounded towards minus infinity, for counts before the zero date.
int64_t FloorDiv(int64_t a, int64_t b);

struct DayAndTime {
  int64_t day = 0;     // 0 is 30 December 1899, negative before it
  int64_t second = 0;  // seconds since midnight, 0 to 86399
};

// The day and the time of day of `date`, the time rounded to the second.
DayAndTime SplitDate(vb::Date date);

// The date `second` seconds (any number, carried into days) after the
// start of day `day`. Raises 5 outside the years 100 to 9999.
vb::Date MakeDate(int64_t day, int64_t second);

// The day number of a year, month and day where month and day may run
// over: month 14 is February of the next year, day 0 the last day of the
// month before. Raises 5 outside the years 100 to 9999.
int64_t DayFromParts(int64_t year, int64_t month, int64_t day);

// `value` as a date: a Date as it is, text as the locale's short date or
// ISO order with an optional time, a time of day alone, or a number (a
// serial). Raises 94 for Null, 13 for text that is no date, 6 for a date
// outside the years 100 to 9999.
vb::Date ToDate(const vb::Variant& value);

// Reads a date literal's text ("1/31/2024", "2024-01-31", "10:30 PM",
// "1/31/2024 10:30:15"), which the language writes month first whatever
// the locale; two-digit years below 30 are in this century. nullopt when
// the text is no valid date.
std::optional<vb::Date> ParseDateLiteral(std::string_view text);

// The seconds since midnight of a time of day written alone ("17:05",
// "5:05:30 PM"); nullopt when the text is not one.
std::optional<int64_t> ParseTimeOfDay(std::string_view text);

}  // namespace kvt::script
