// vb::Date — a calendar date and time of day as the platform keeps it: the
// number of days since 30 December 1899, the fraction being the time.
#pragma once

#include <compare>
#include <optional>
#include <string>

namespace vb {

class Locale;

class Date {
 public:
  constexpr Date() = default;  // 30/12/1899 00:00:00, the platform's zero date
  // Raises 6 (Overflow) when the serial, its time rounded to the second,
  // is not a day of the years 100 to 9999 (or is no number).
  static Date FromSerial(double serial);
  // Raises 5 when the parts do not make a date between years 100 and 9999.
  static Date FromYmd(int year, int month, int day);
  static Date FromYmdHms(int year, int month, int day, int hour, int minute, int second);
  // Today at midnight, local time.
  static Date Today();
  // Now, local time, to the second.
  static Date Now();

  constexpr double serial() const { return serial_; }

  int Year() const;
  int Month() const;
  int Day() const;
  int Hour() const;
  int Minute() const;
  int Second() const;
  bool HasTime() const;
  Date DateOnly() const;

  // Reads "yyyy-mm-dd[ hh:mm[:ss]]" or the locale's short date order
  // ("dd/mm/yyyy" by default), with "/", "-" or "." as separators.
  static std::optional<Date> Parse(const std::string& text, const Locale& locale);

  constexpr auto operator<=>(const Date&) const = default;

 private:
  constexpr explicit Date(double serial) : serial_(serial) {}
  double serial_ = 0.0;
};

}  // namespace vb
