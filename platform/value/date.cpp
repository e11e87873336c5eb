#include "platform/value/date.h"

#include <cmath>
#include <ctime>

#include "platform/value/error.h"
#include "platform/value/locale.h"

namespace vb {
namespace {

// Days between 0001-03-01-based civil dates (H. Hinnant's algorithm); the
// platform's zero date 1899-12-30 is day 693959 counted this way.
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

// A constant, so that dates made while statics start up see it.
constexpr int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Whole days of the serial (towards zero, as the platform counts) and the
// time of day in seconds, rounded to the second.
void Split(double serial, int64_t& days, int64_t& seconds) {
  double whole = std::trunc(serial);
  double fraction = std::fabs(serial - whole);
  days = static_cast<int64_t>(whole);
  seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
}

// Serials of 1 January 100 and 31 December 9999.
constexpr int64_t kFirstDay = -657434;
constexpr int64_t kLastDay = 2958465;

}  // namespace

Date Date::FromSerial(double serial) {
  // The bounds first: Split must not convert a serial beyond 64 bits.
  if (!(serial > kFirstDay - 1.0 && serial < kLastDay + 1.0)) throw Error::Overflow();
  int64_t days = 0, seconds = 0;
  Split(serial, days, seconds);
  if (days < kFirstDay || days > kLastDay) throw Error::Overflow();
  return Date(serial);
}

Date Date::FromYmd(int year, int month, int day) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    throw Error::InvalidCall();
  }
  return Date(static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDays));
}

Date Date::FromYmdHms(int year, int month, int day, int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    throw Error::InvalidCall();
  }
  double date = FromYmd(year, month, day).serial_;
  double time = (hour * 3600 + minute * 60 + second) / 86400.0;
  // Before the zero date the time still counts forward from midnight.
  return Date(date < 0 ? date - time : date + time);
}

Date Date::Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

Date Date::Now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FromYmdHms(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

namespace {
struct Parts {
  int year, month, day;
  int64_t days, seconds;
};
Parts Decompose(double serial) {
  Parts parts{};
  Split(serial, parts.days, parts.seconds);
  CivilFromDays(parts.days + kEpochDays, parts.year, parts.month, parts.day);
  return parts;
}
}  // namespace

int Date::Year() const { return Decompose(serial_).year; }
int Date::Month() const { return Decompose(serial_).month; }
int Date::Day() const { return Decompose(serial_).day; }
int Date::Hour() const { return static_cast<int>(Decompose(serial_).seconds / 3600); }
int Date::Minute() const { return static_cast<int>(Decompose(serial_).seconds / 60 % 60); }
int Date::Second() const { return static_cast<int>(Decompose(serial_).seconds % 60); }
bool Date::HasTime() const { return Decompose(serial_).seconds != 0; }

Date Date::DateOnly() const { return Date(static_cast<double>(Decompose(serial_).days)); }

std::optional<Date> Date::Parse(const std::string& text, const Locale& locale) {
  // Split into runs of digits; remember which separators were used.
  int parts[6] = {0, 0, 0, 0, 0, 0};
  int widths[6] = {0, 0, 0, 0, 0, 0};
  int count = 0;
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  size_t end = text.size();
  while (end > pos && text[end - 1] == ' ') --end;
  if (pos == end) return std::nullopt;
  bool in_time = false;
  while (pos < end) {
    char c = text[pos];
    if (c >= '0' && c <= '9') {
      if (count == 6) return std::nullopt;
      int value = 0, width = 0;
      while (pos < end && text[pos] >= '0' && text[pos] <= '9') {
        if (width == 9) return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        ++width;
        ++pos;
      }
      parts[count] = value;
      widths[count] = width;
      ++count;
      continue;
    }
    bool date_sep = c == '/' || c == '-' || c == '.';
    if (c == ':') {
      if (!in_time || count < 4) return std::nullopt;
    } else if (c == ' ' || c == 'T') {
      if (count != 3) return std::nullopt;
      in_time = true;
    } else if (!date_sep || in_time) {
      return std::nullopt;
    }
    ++pos;
  }
  if (count != 3 && count != 5 && count != 6) return std::nullopt;

  int year, month, day;
  if (widths[0] == 4) {  // ISO order is unambiguous whatever the locale
    year = parts[0];
    month = parts[1];
    day = parts[2];
  } else {
    // Order of d, M and y in the locale's short date pattern.
    const std::string& pattern = locale.short_date;
    size_t pd = pattern.find('d'), pm = pattern.find('M'), py = pattern.find('y');
    if (pd == std::string::npos || pm == std::string::npos || py == std::string::npos) {
      pd = 0;
      pm = 1;
      py = 2;
    }
    int order_d = (pd > pm) + (pd > py);
    int order_m = (pm > pd) + (pm > py);
    int order_y = (py > pd) + (py > pm);
    day = parts[order_d];
    month = parts[order_m];
    year = parts[order_y];
    if (widths[order_y] <= 2) year += year < 30 ? 2000 : 1900;
  }
  int hour = count >= 5 ? parts[3] : 0;
  int minute = count >= 5 ? parts[4] : 0;
  int second = count == 6 ? parts[5] : 0;
  try {
    return FromYmdHms(year, month, day, hour, minute, second);
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace vb
