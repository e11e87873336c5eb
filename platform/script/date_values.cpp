#include "platform/script/date_values.h"

#include <cmath>

#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

constexpr int64_t kFirstDay = -657434;  // 1 January 100
constexpr int64_t kLastDay = 2958465;   // 31 December 9999

[[noreturn]] void OutsideDateRange() {
  throw RuntimeError(vb::err::kInvalidCall, "a date outside the years 100 to 9999");
}

bool SerialInRange(double serial) {
  return serial > static_cast<double>(kFirstDay - 1) && serial < static_cast<double>(kLastDay + 1);
}

// Reads the parts of a date or time text left to right.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  size_t Position() const { return pos_; }
  void Rewind(size_t position) { pos_ = position; }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  // Skips blanks; true when there were any.
  bool SkipBlanks() {
    const size_t start = pos_;
    while (Peek() == ' ' || Peek() == '\t') ++pos_;
    return pos_ != start;
  }

  bool Take(char c) {
    if (AtEnd() || Peek() != c) return false;
    ++pos_;
    return true;
  }

  // A run of up to nine digits; `width` is how many there were.
  std::optional<int> Number(int& width) {
    int value = 0;
    width = 0;
    while (width < 9 && Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + (Peek() - '0');
      ++width;
      ++pos_;
    }
    if (width == 0 || (Peek() >= '0' && Peek() <= '9')) return std::nullopt;
    return value;
  }

  // "AM" or "PM" in any case: 1 for PM, 0 for AM, -1 for neither.
  int Meridiem() {
    if (pos_ + 2 > text_.size()) return -1;
    const char first = static_cast<char>(text_[pos_] & ~0x20);
    const char second = static_cast<char>(text_[pos_ + 1] & ~0x20);
    if ((first != 'A' && first != 'P') || second != 'M') return -1;
    pos_ += 2;
    return first == 'P' ? 1 : 0;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// h:mm[:ss] with an optional AM or PM, as seconds since midnight.
std::optional<int64_t> ReadTime(Cursor& in) {
  int width = 0;
  const std::optional<int> hour = in.Number(width);
  if (!hour || !in.Take(':')) return std::nullopt;
  const std::optional<int> minute = in.Number(width);
  if (!minute) return std::nullopt;
  int second = 0;
  if (in.Take(':')) {
    const std::optional<int> seconds = in.Number(width);
    if (!seconds) return std::nullopt;
    second = *seconds;
  }
  const size_t before_blanks = in.Position();
  in.SkipBlanks();
  int h = *hour;
  const int meridiem = in.Meridiem();
  if (meridiem < 0) {
    in.Rewind(before_blanks);
  } else {
    if (h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (meridiem == 1 ? 12 : 0);
  }
  if (h > 23 || *minute > 59 || second > 59) return std::nullopt;
  return int64_t{h} * 3600 + int64_t{*minute} * 60 + second;
}

// month/day/year, or year-month-day when the first part has four digits.
std::optional<int64_t> ReadDay(Cursor& in) {
  int width[3] = {0, 0, 0};
  const std::optional<int> first = in.Number(width[0]);
  const char separator = in.Peek();
  if (!first || (separator != '/' && separator != '-')) return std::nullopt;
  in.Take(separator);
  const std::optional<int> second = in.Number(width[1]);
  if (!second || !in.Take(separator)) return std::nullopt;
  const std::optional<int> third = in.Number(width[2]);
  if (!third) return std::nullopt;
  int year = *third;
  int month = *first;
  int day = *second;
  if (width[0] == 4) {
    year = *first;
    month = *second;
    day = *third;
  } else if (width[2] <= 2) {
    year += year < 30 ? 2000 : 1900;
  }
  try {
    return static_cast<int64_t>(vb::Date::FromYmd(year, month, day).serial());
  } catch (const vb::Error&) {
    return std::nullopt;
  }
}

}  // namespace

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t quotient = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

DayAndTime SplitDate(vb::Date date) {
  const double serial = date.serial();
  if (!SerialInRange(serial)) throw RuntimeError(vb::err::kOverflow, "date serial");
  const double whole = std::trunc(serial);
  DayAndTime parts;
  parts.day = static_cast<int64_t>(whole);
  parts.second = std::llround(std::fabs(serial - whole) * kSecondsPerDay);
  if (parts.second >= kSecondsPerDay) {
    parts.second -= kSecondsPerDay;
    parts.day += serial < 0 ? -1 : 1;
  }
  return parts;
}

vb::Date MakeDate(int64_t day, int64_t second) {
  const int64_t carried = FloorDiv(second, kSecondsPerDay);
  day += carried;
  second -= carried * kSecondsPerDay;
  if (day < kFirstDay || day > kLastDay) OutsideDateRange();
  const double time = static_cast<double>(second) / kSecondsPerDay;
  const double whole = static_cast<double>(day);
  return vb::Date::FromSerial(day < 0 ? whole - time : whole + time);
}

int64_t DayFromParts(int64_t year, int64_t month, int64_t day) {
  const int64_t months = month - 1;
  year += FloorDiv(months, 12);
  const int64_t month_index = months - FloorDiv(months, 12) * 12;
  if (year < 100 || year > 9999) OutsideDateRange();
  const vb::Date first =
      vb::Date::FromYmd(static_cast<int>(year), static_cast<int>(month_index + 1), 1);
  const int64_t result = static_cast<int64_t>(first.serial()) + day - 1;
  if (result < kFirstDay || result > kLastDay) OutsideDateRange();
  return result;
}

vb::Date ToDate(const vb::Variant& value) {
  vb::Date date;
  if (const std::string* text = value.get_if<std::string>()) {
    const std::optional<int64_t> time = ParseTimeOfDay(*text);
    date = time ? MakeDate(0, *time) : vb::CDate(value);
  } else {
    date = vb::CDate(value);
  }
  if (!SerialInRange(date.serial())) throw RuntimeError(vb::err::kOverflow, "date serial");
  return date;
}

std::optional<vb::Date> ParseDateLiteral(std::string_view text) {
  Cursor in(text);
  in.SkipBlanks();
  const size_t start = in.Position();
  const std::optional<int64_t> day = ReadDay(in);
  if (!day) in.Rewind(start);
  const bool blank = in.SkipBlanks();
  std::optional<int64_t> time;
  if (!in.AtEnd()) {
    if (day && !blank) return std::nullopt;
    time = ReadTime(in);
    if (!time) return std::nullopt;
    in.SkipBlanks();
  }
  if (!in.AtEnd() || (!day && !time)) return std::nullopt;
  return MakeDate(day.value_or(0), time.value_or(0));
}

std::optional<int64_t> ParseTimeOfDay(std::string_view text) {
  Cursor in(text);
  in.SkipBlanks();
  const std::optional<int64_t> time = ReadTime(in);
  in.SkipBlanks();
  if (!time || !in.AtEnd()) return std::nullopt;
  return time;
}

}  // namespace kvt::script
