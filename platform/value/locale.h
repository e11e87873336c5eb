// vb::Locale — the regional settings of date and Boolean text.
//
// Number text is not regional. The component reads every number with "."
// as the decimal point and "," as grouping (ParseNumber drops every ","
// before it reads), and it rounds by formatting and reading back, so a
// comma decimal point would multiply every fractional amount. The
// separators are therefore constants here, the same for every thread and
// host, and no conversion asks the C library's locale either.
//
// What a host may change, per thread with Locale::SetActive before it
// calls the component: date patterns (the short date order, the long date,
// the long time), display names (month and day names, the words for True
// and False) and the currency symbol and its place.
#pragma once

#include <array>
#include <string>

namespace vb {

class Locale {
 public:
  // Fixed: the component's arithmetic text depends on them.
  static constexpr char kDecimalSeparator = '.';
  static constexpr char kGroupingSeparator = ',';
  static constexpr int kGroupSize = 3;
  // Decimals FormatNumber shows when asked for the default (-1).
  static constexpr int kDefaultDigits = 2;

  // Short date pattern: d, dd, M, MM, yy, yyyy and literal separators; it
  // also gives the order in which dates are read.
  std::string short_date = "dd/MM/yyyy";
  std::string long_time = "HH:mm:ss";
  // Patterns of d, M and y as short_date, dddd and MMMM for the names.
  std::string long_date = "dd MMMM yyyy";
  // Put before amounts by FormatCurrency ("R1.00"), or after them with a
  // blank ("1.00 R") when currency_after.
  std::string currency_symbol = "R";
  bool currency_after = false;
  std::array<std::string, 12> month_names = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  // Sunday first.
  std::array<std::string, 7> day_names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  std::string true_text = "True";
  std::string false_text = "False";

  // The locale of the calling thread (the defaults until a host sets one).
  static const Locale& Active();
  static void SetActive(const Locale& locale);
};

}  // namespace vb
