// vb::Currency — money as a 64-bit count of ten-thousandths.
//
// Sums and differences are exact; conversion from a double rounds to the
// nearest ten-thousandth with ties to even, as the platform's CCur does.
// Arithmetic that leaves the range raises error 6 (Overflow); the Try*
// forms report it as a return value for hot loops.
#pragma once

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace vb {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;

  // From the raw count of ten-thousandths.
  static constexpr Currency FromRaw(int64_t raw) { return Currency(raw); }
  // Nearest ten-thousandth, ties to even. Raises 6 when out of range or not
  // a finite number.
  static Currency FromDouble(double value);
  // Whole units.
  static Currency FromInt(int64_t units);
  // Exact decimal text ("-1234.5678", digits only, no grouping); more than
  // four decimals round ties to even. Raises 13 when the text is no number,
  // 6 when out of range.
  static Currency FromDecimalText(const std::string& text);

  static constexpr Currency Max() { return Currency(INT64_MAX); }
  static constexpr Currency Min() { return Currency(INT64_MIN); }

  constexpr int64_t raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  // Rounded half to even to `digits` decimals, exactly (the platform's
  // Round); four or more keep the value. Raises 5 for negative digits and
  // 6 when the rounded value leaves the range (Max() to no decimals).
  Currency RoundHalfEven(int digits) const;
  // Exact decimal text with up to four decimals, trailing zeros dropped,
  // "." as the decimal point ("12.5", "-0.0001", "0").
  std::string ToDecimalText() const;

  // Checked arithmetic: false (and `out` untouched) on overflow.
  static bool TryAdd(Currency a, Currency b, Currency& out) noexcept;
  static bool TrySubtract(Currency a, Currency b, Currency& out) noexcept;
  static bool TryMultiply(Currency a, Currency b, Currency& out) noexcept;

  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency operator-() const;
  Currency operator*(Currency other) const;  // rounded ties to even
  Currency operator/(Currency other) const;  // raises 11 on zero divisor
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }

  constexpr auto operator<=>(const Currency&) const = default;

 private:
  constexpr explicit Currency(int64_t raw) : raw_(raw) {}
  int64_t raw_ = 0;
};

// Writes the exact decimal text (for logs and test failure messages).
std::ostream& operator<<(std::ostream& out, Currency value);

}  // namespace vb
