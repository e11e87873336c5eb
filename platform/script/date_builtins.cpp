#include "platform/script/date_builtins.h"

#include <algorithm>
#include <ctime>

#include "platform/script/date_values.h"
#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Variant;

// Sunday is 1, as the language numbers weekdays; day 1, 31 December 1899,
// was a Sunday.
int DayOfWeek(int64_t day) { return static_cast<int>(((day - 1) % 7 + 7) % 7) + 1; }

// The weekday of `day` counted from `first_day` (1 Sunday ... 7 Saturday).
int WeekdayFrom(int64_t day, int first_day) { return (DayOfWeek(day) - first_day + 7) % 7 + 1; }

// A first-day-of-week argument: 1 (Sunday, the default) to 7; 0 asks for
// the system's, which is Sunday. 94 for Null, 5 for anything else.
int FirstDayArg(const Args& args, size_t i) {
  const int32_t first = OptionalLong(args, i, 1);
  if (first < 0 || first > 7) InvalidCall();
  return first == 0 ? 1 : first;
}

// A first-week-of-year argument: 1 the week of 1 January (the default and
// the system's, 0), 2 the first week with four days, 3 the first full week.
int FirstWeekArg(const Args& args, size_t i) {
  const int32_t first = OptionalLong(args, i, 1);
  if (first < 0 || first > 3) InvalidCall();
  return first == 0 ? 1 : first;
}

// The local clock, as the day and the second of the day.
DayAndTime Clock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {DayFromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
          int64_t{local.tm_hour} * 3600 + local.tm_min * 60 + local.tm_sec};
}

Variant Now(const Args&) {
  const DayAndTime now = Clock();
  return Variant(MakeDate(now.day, now.second));
}
Variant Today(const Args&) { return Variant(MakeDate(Clock().day, 0)); }
Variant TimeOfDay(const Args&) { return Variant(MakeDate(0, Clock().second)); }

// DateSerial(year, month, day): month and day may run over into the next
// or previous months; years 0 to 99 are 1930 to 2029.
Variant DateSerial(const Args& args) {
  for (size_t i = 0; i < 3; ++i) RejectNull(args[i]);
  int64_t year = vb::CInt(args[0]);
  if (year >= 0 && year <= 99) year += year < 30 ? 2000 : 1900;
  return Variant(MakeDate(DayFromParts(year, vb::CInt(args[1]), vb::CInt(args[2])), 0));
}

// TimeSerial(hour, minute, second): any counts, carried into whole days.
Variant TimeSerial(const Args& args) {
  for (size_t i = 0; i < 3; ++i) RejectNull(args[i]);
  const int64_t seconds =
      int64_t{vb::CInt(args[0])} * 3600 + int64_t{vb::CInt(args[1])} * 60 + vb::CInt(args[2]);
  return Variant(MakeDate(0, seconds));
}

Variant DateValue(const Args& args) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant(MakeDate(SplitDate(ToDate(args[0])).day, 0));
}

Variant TimeValue(const Args& args) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant(MakeDate(0, SplitDate(ToDate(args[0])).second));
}

// Year, Month, ... give Integers and pass Null through.
template <class Part>
Variant PartOf(const Args& args, Part part) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant::Integer(static_cast<int16_t>(part(ToDate(args[0]))));
}

// clang-format off
Variant Year(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Year(); }); }
Variant Month(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Month(); }); }
Variant Day(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Day(); }); }
Variant Hour(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Hour(); }); }
Variant Minute(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Minute(); }); }
Variant Second(const Args& args) { return PartOf(args, [](vb::Date d) { return d.Second(); }); }
// clang-format on

Variant Weekday(const Args& args) {
  const int first_day = FirstDayArg(args, 1);
  if (args[0].IsNull()) return Variant::Null();
  return Variant::Integer(
      static_cast<int16_t>(WeekdayFrom(SplitDate(ToDate(args[0])).day, first_day)));
}

// The names come from the platform's date formatting, so they follow it.
Variant DateName(const Args& args, vb::Date date, const char* pattern) {
  return TextResult(vb::Format(Variant(date), pattern), args.Budget());
}

bool AbbreviateArg(const Args& args, size_t i) {
  if (!args.Given(i)) return false;
  RejectNull(args[i]);
  return vb::CBool(args[i]);
}

Variant MonthName(const Args& args) {
  RejectNull(args[0]);
  const bool abbreviate = AbbreviateArg(args, 1);
  const int32_t month = vb::CLng(args[0]);
  if (month < 1 || month > 12) InvalidCall();
  return DateName(args, vb::Date::FromYmd(2000, month, 1), abbreviate ? "mmm" : "mmmm");
}

Variant WeekdayName(const Args& args) {
  RejectNull(args[0]);
  const bool abbreviate = AbbreviateArg(args, 1);
  const int first_day = FirstDayArg(args, 2);
  const int32_t weekday = vb::CLng(args[0]);
  if (weekday < 1 || weekday > 7) InvalidCall();
  const int64_t sunday_based = (weekday - 1 + first_day - 1) % 7;
  return DateName(args, MakeDate(1 + sunday_based, 0), abbreviate ? "ddd" : "dddd");
}

enum class Interval : uint8_t {
  kYear,
  kQuarter,
  kMonth,
  kDayOfYear,
  kDay,
  kWeekday,
  kWeek,
  kHour,
  kMinute,
  kSecond
};

// The interval text of DateAdd, DateDiff and DatePart: 94 for Null, 5 for
// a text the language does not know.
Interval IntervalArg(const Variant& value) {
  static constexpr struct {
    std::string_view name;
    Interval interval;
  } kIntervals[] = {
      {"yyyy", Interval::kYear},   {"q", Interval::kQuarter}, {"m", Interval::kMonth},
      {"y", Interval::kDayOfYear}, {"d", Interval::kDay},     {"w", Interval::kWeekday},
      {"ww", Interval::kWeek},     {"h", Interval::kHour},    {"n", Interval::kMinute},
      {"s", Interval::kSecond},
  };
  RejectNull(value);
  std::string scratch;
  const std::string& text = TextOf(value, scratch);
  for (const auto& entry : kIntervals) {
    if (SameName(text, entry.name)) return entry.interval;
  }
  InvalidCall();
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Months later, on the same day or the last day of a shorter month.
vb::Date AddMonths(vb::Date date, int64_t second, int64_t months) {
  const int64_t first = DayFromParts(date.Year(), date.Month() + months, 1);
  const vb::Date month_start = MakeDate(first, 0);
  const int last = DaysInMonth(month_start.Year(), month_start.Month());
  return MakeDate(first + std::min(date.Day(), last) - 1, second);
}

// DateAdd(interval, number, date): the number rounds to a whole one first.
Variant DateAdd(const Args& args) {
  const Interval interval = IntervalArg(args[0]);
  const int64_t number = LongArg(args[1]);
  if (args[2].IsNull()) return Variant::Null();
  const vb::Date date = ToDate(args[2]);
  const DayAndTime at = SplitDate(date);
  switch (interval) {
    case Interval::kYear: return Variant(AddMonths(date, at.second, number * 12));
    case Interval::kQuarter: return Variant(AddMonths(date, at.second, number * 3));
    case Interval::kMonth: return Variant(AddMonths(date, at.second, number));
    case Interval::kWeek: return Variant(MakeDate(at.day + number * 7, at.second));
    case Interval::kHour: return Variant(MakeDate(at.day, at.second + number * 3600));
    case Interval::kMinute: return Variant(MakeDate(at.day, at.second + number * 60));
    case Interval::kSecond: return Variant(MakeDate(at.day, at.second + number));
    default: return Variant(MakeDate(at.day + number, at.second));
  }
}

int64_t FirstWeekStart(int64_t year, int first_day, int first_week) {
  const int64_t january_first = DayFromParts(year, 1, 1);
  const int64_t before = WeekdayFrom(january_first, first_day) - 1;
  if (first_week == 2 && before > 3) return january_first - before + 7;
  if (first_week == 3 && before > 0) return january_first - before + 7;
  return january_first - before;
}

int WeekOfYear(vb::Date date, int64_t day, int first_day, int first_week) {
  int64_t start = FirstWeekStart(date.Year(), first_day, first_week);
  // Early January may still belong to the last week of the year before.
  if (day < start && date.Year() > 100) {
    start = FirstWeekStart(date.Year() - 1, first_day, first_week);
  }
  return static_cast<int>(FloorDiv(day - start, 7) + 1);
}

Variant DatePart(const Args& args) {
  const Interval interval = IntervalArg(args[0]);
  const int first_day = FirstDayArg(args, 2);
  const int first_week = FirstWeekArg(args, 3);
  if (args[1].IsNull()) return Variant::Null();
  const vb::Date date = ToDate(args[1]);
  const DayAndTime at = SplitDate(date);
  int part = 0;
  switch (interval) {
    case Interval::kYear: part = date.Year(); break;
    case Interval::kQuarter: part = (date.Month() - 1) / 3 + 1; break;
    case Interval::kMonth: part = date.Month(); break;
    case Interval::kDayOfYear:
      part = static_cast<int>(at.day - DayFromParts(date.Year(), 1, 1) + 1);
      break;
    case Interval::kDay: part = date.Day(); break;
    case Interval::kWeekday: part = WeekdayFrom(at.day, first_day); break;
    case Interval::kWeek: part = WeekOfYear(date, at.day, first_day, first_week); break;
    case Interval::kHour: part = static_cast<int>(at.second / 3600); break;
    case Interval::kMinute: part = static_cast<int>(at.second / 60 % 60); break;
    case Interval::kSecond: part = static_cast<int>(at.second % 60); break;
  }
  return Variant::Integer(static_cast<int16_t>(part));
}

int64_t MonthCount(vb::Date date) { return int64_t{date.Year()} * 12 + date.Month() - 1; }
int64_t Seconds(const DayAndTime& at) { return at.day * kSecondsPerDay + at.second; }

// DateDiff counts the boundaries of the interval passed from date1 to
// date2: DateDiff("yyyy", #12/31/2023#, #1/1/2024#) is 1.
Variant DateDiff(const Args& args) {
  const Interval interval = IntervalArg(args[0]);
  const int first_day = FirstDayArg(args, 3);
  FirstWeekArg(args, 4);
  if (args[1].IsNull() || args[2].IsNull()) return Variant::Null();
  const vb::Date from = ToDate(args[1]);
  const vb::Date to = ToDate(args[2]);
  const DayAndTime a = SplitDate(from);
  const DayAndTime b = SplitDate(to);
  int64_t difference = 0;
  switch (interval) {
    case Interval::kYear: difference = to.Year() - from.Year(); break;
    case Interval::kQuarter:
      difference = FloorDiv(MonthCount(to), 3) - FloorDiv(MonthCount(from), 3);
      break;
    case Interval::kMonth: difference = MonthCount(to) - MonthCount(from); break;
    case Interval::kWeekday: difference = (b.day - a.day) / 7; break;
    case Interval::kWeek:
      // A week starts on each day whose number is first_day modulo 7.
      difference = FloorDiv(b.day - first_day, 7) - FloorDiv(a.day - first_day, 7);
      break;
    case Interval::kHour:
      difference = FloorDiv(Seconds(b), 3600) - FloorDiv(Seconds(a), 3600);
      break;
    case Interval::kMinute: difference = FloorDiv(Seconds(b), 60) - FloorDiv(Seconds(a), 60); break;
    case Interval::kSecond: difference = Seconds(b) - Seconds(a); break;
    default: difference = b.day - a.day; break;
  }
  if (difference < INT32_MIN || difference > INT32_MAX) throw RuntimeError(vb::err::kOverflow);
  return Variant(static_cast<int32_t>(difference));
}

constexpr Builtin kTable[] = {
    {"Date", 0, 0, &Today},
    {"DateAdd", 3, 3, &DateAdd},
    {"DateDiff", 3, 5, &DateDiff},
    {"DatePart", 2, 4, &DatePart},
    {"DateSerial", 3, 3, &DateSerial},
    {"DateValue", 1, 1, &DateValue},
    {"Day", 1, 1, &Day},
    {"Hour", 1, 1, &Hour},
    {"Minute", 1, 1, &Minute},
    {"Month", 1, 1, &Month},
    {"MonthName", 1, 2, &MonthName},
    {"Now", 0, 0, &Now},
    {"Second", 1, 1, &Second},
    {"Time", 0, 0, &TimeOfDay},
    {"TimeSerial", 3, 3, &TimeSerial},
    {"TimeValue", 1, 1, &TimeValue},
    {"Weekday", 1, 2, &Weekday},
    {"WeekdayName", 1, 3, &WeekdayName},
    {"Year", 1, 1, &Year},
};

}  // namespace

BuiltinTable DateBuiltins() { return kTable; }

}  // namespace kvt::script
