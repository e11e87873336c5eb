// Numbers as text, the same on every machine: "." as the decimal point and
// no grouping, whatever the C library's locale says (a host's toolkit sets
// it from LANG at start-up, and printf, strtod and their kin follow it).
//
// This module is the one place that turns numbers into text and back, with
// std::to_chars and std::from_chars; all other code calls it, or the
// platform's conversions built on it. scripts/check-number-text.sh fails
// the build's checks on any other number formatting or parsing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/value/currency.h"

namespace vb {

// The shortest text that reads back as the same double: "9.75", "0.1",
// "1e+20". Infinities and NaN give "inf", "-inf" and "nan".
std::string PlainText(double value);
// `value` in decimal digits, padded with zeros on the left to `width`
// digits ("07", "-07"); a longer value keeps all its digits.
std::string ZeroPadded(int64_t value, int width);
// `value` rounded half away from zero to two decimals, thousands grouped
// with ",": "1,030.40", "-0.05", "0.00".
std::string TwoDecimalText(Currency value);
// The whole of `text` as a decimal integer with an optional "-"; nullopt
// for anything else (blanks, "+", a point) or a value beyond 64 bits.
std::optional<int64_t> ReadPlainInteger(std::string_view text);
// The whole of `text` as a decimal number: an optional "-", digits with at
// most one ".", an optional exponent ("-12.5", ".5", "1e3"). nullopt for
// anything else or a value beyond the Double range; a value too small for
// it reads as 0.
std::optional<double> ReadPlainNumber(std::string_view text);

}  // namespace vb

// Internal: numbers as decimal digit strings, for exact rounding and
// formatting without going through binary floating point twice.
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
// The seven significant digits a Single shows (1/3 shows 0.3333333).
DecimalDigits SingleDigits(float value);
DecimalDigits CurrencyDigits(Currency value);
DecimalDigits IntegerDigits(int64_t value);

// Rounds half away from zero to `decimals` places after the point.
void RoundHalfAwayFromZero(DecimalDigits& number, int decimals);
bool IsZero(const DecimalDigits& number);

// Integer and fraction digits of an already rounded number, without sign.
// `min_integer` pads with zeros (1 gives "0.5", 0 gives ".5"),
// `min_decimals`..`max_decimals` controls the fraction (trailing zeros
// beyond the minimum are dropped); `group` puts "," between thousands.
std::string FixedText(const DecimalDigits& number, int min_integer, int min_decimals,
                      int max_decimals, bool group);

// A number read from text under the platform's rules ("." point, ","
// grouping, blanks around, a leading, trailing or parenthesised sign).
struct ScannedNumber {
  bool negative = false;
  std::string mantissa;  // digits with "." as point, e.g. "1234.5"
  int exponent = 0;
  bool integral_radix = false;  // &H / &O literal, value in `radix_value`
  int64_t radix_value = 0;
};
std::optional<ScannedNumber> ScanNumber(const std::string& text);
// The scanned number as a double; nullopt beyond the Double range.
std::optional<double> ScannedValue(const ScannedNumber& number);
// The same, raising 6 (Overflow) beyond the range.
double ScannedToDouble(const ScannedNumber& number);
// Text of the form "[-]digits[.digits][e[+|-]digits]" as a double; nullopt
// beyond the Double range, 0 below it.
std::optional<double> DecimalTextToDouble(std::string_view text);

// How the platform shows a Single or a Double as text (CStr): rounded to
// `significant` digits (7 for a Single, 15 for a Double), trailing zeros
// dropped, in plain notation while every digit fits in that many places on
// its side of the point, else in scientific notation with a signed
// exponent of at least two digits: 1E+15, 0.00001, 1.99999997764826E-02.
// Rounding to 15 digits is why 919.9999999999999 shows as 920. Independent
// of the process locale: the decimal point is always ".".
std::string FloatText(double value, int significant);
// The number FloatText's text stands for: `value` rounded to `significant`
// significant digits (0 for zero and for what is not finite), without
// building the text.
double RoundToSignificant(double value, int significant);

}  // namespace vb::detail
