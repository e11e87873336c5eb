// vb::Locale — the regional settings that number and date conversions use.
//
// One object, owned by the thread that converts: the defaults are decimal
// ".", grouping "," in threes, two default decimals and a day-first short
// date ("dd/MM/yyyy"). A host with other regional settings installs its own
// with Locale::SetActive before calling the component; nothing else in the
// library keeps separators of its own.
#pragma once

#include <string>

namespace vb {

class Locale {
 public:
  char decimal_separator = '.';
  char grouping_separator = ',';
  int group_size = 3;
  // Decimals FormatNumber shows when asked for the default (-1).
  int default_digits = 2;
  // Short date pattern: d, dd, M, MM, yy, yyyy and literal separators.
  std::string short_date = "dd/MM/yyyy";
  std::string long_time = "HH:mm:ss";
  // Put before amounts by FormatCurrency.
  std::string currency_symbol = "R";
  std::string true_text = "True";
  std::string false_text = "False";

  // The locale of the calling thread (the defaults until a host sets one).
  static const Locale& Active();
  static void SetActive(const Locale& locale);
};

}  // namespace vb
