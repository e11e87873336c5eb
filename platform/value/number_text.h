// Internal: numbers as decimal digit strings, for exact rounding and
// formatting without going through binary floating point twice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/value/currency.h"
#include "platform/value/locale.h"

namespace vb::detail {

// |value| = 0.d1 d2 d3 ... x 10^point, i.e. the decimal point stands after
// the first `point` digits (point may be <= 0 or beyond the digits).
struct DecimalDigits {
  bool negative = false;
  std::string digits;  // no leading zeros; empty means zero
  int point = 0;
};

// The shortest digits that read back as the same double.
DecimalDigits ShortestDigits(double value);
DecimalDigits CurrencyDigits(Currency value);
DecimalDigits IntegerDigits(int64_t value);

// Rounds half away from zero to `decimals` places after the point.
void RoundHalfAwayFromZero(DecimalDigits& number, int decimals);
bool IsZero(const DecimalDigits& number);

// Integer and fraction digits of an already rounded number, without sign.
// `min_integer` pads with zeros (1 gives "0.5", 0 gives ".5"),
// `min_decimals`..`max_decimals` controls the fraction (trailing zeros
// beyond the minimum are dropped).
std::string FixedText(const DecimalDigits& number, int min_integer,
                      int min_decimals, int max_decimals, bool group,
                      const Locale& locale);

// A number read from text under the locale's rules.
struct ScannedNumber {
  bool negative = false;
  std::string mantissa;  // digits with "." as point, e.g. "1234.5"
  int exponent = 0;
  bool integral_radix = false;  // &H / &O literal, value in `radix_value`
  int64_t radix_value = 0;
};
std::optional<ScannedNumber> ScanLocaleNumber(const std::string& text,
                                              const Locale& locale);
// The scanned number as a double; raises 6 when out of range.
double ScannedToDouble(const ScannedNumber& number);

// Plain-text rendering of a double with `significant` digits, in the
// platform's style: "0.1", "1E+15", "1.5E-05".
std::string GeneralText(double value, int significant, const Locale& locale);

}  // namespace vb::detail
