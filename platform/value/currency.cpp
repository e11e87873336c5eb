#include "platform/value/currency.h"

#include <cmath>
#include <cstdlib>
#include <ostream>

#include "platform/value/error.h"

namespace vb {
namespace {

__extension__ using Int128 = __int128;

// Divides with the quotient rounded half to even; the one rounding step of
// every Currency operation that loses digits.
bool DivideHalfEven(Int128 numerator, Int128 denominator, int64_t& out) {
  Int128 quotient = numerator / denominator;
  Int128 remainder = numerator % denominator;
  if (remainder != 0) {
    Int128 twice = remainder * 2;
    if (twice < 0) twice = -twice;
    Int128 abs_den = denominator < 0 ? -denominator : denominator;
    bool negative = (numerator < 0) != (denominator < 0);
    if (twice > abs_den || (twice == abs_den && (quotient % 2 != 0))) {
      quotient += negative ? -1 : 1;
    }
  }
  if (quotient > INT64_MAX || quotient < INT64_MIN) return false;
  out = static_cast<int64_t>(quotient);
  return true;
}

}  // namespace

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value)) throw Error::Overflow();
  // The product is rounded to a double, so keep its error term: the exact
  // value * 10000 is product + error. That decides the ties the rounded
  // product only appears to have, and the digits beyond 2^53.
  const double scale = static_cast<double>(kScale);
  double product = value * scale;
  double error = std::fma(value, scale, -product);
  double rounded = std::nearbyint(product);  // half to even
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) {
    throw Error::Overflow();
  }
  int64_t raw = static_cast<int64_t>(rounded);
  int64_t adjust = 0;
  if (std::fabs(product) >= 4503599627370496.0) {  // 2^52: product is whole
    adjust = static_cast<int64_t>(std::nearbyint(error));
  } else if (product - rounded == 0.5 && error > 0) {
    adjust = 1;
  } else if (product - rounded == -0.5 && error < 0) {
    adjust = -1;
  }
  if (__builtin_add_overflow(raw, adjust, &raw)) throw Error::Overflow();
  return Currency(raw);
}

Currency Currency::FromInt(int64_t units) {
  int64_t raw = 0;
  if (__builtin_mul_overflow(units, kScale, &raw)) throw Error::Overflow();
  return Currency(raw);
}

Currency Currency::FromDecimalText(const std::string& text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  Int128 digits = 0;
  int decimals = -1;  // -1 until the decimal point is seen
  bool any_digit = false;
  constexpr Int128 kLimit = static_cast<Int128>(1) << 100;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') throw Error::TypeMismatch({}, text);
    any_digit = true;
    if (digits > kLimit) throw Error::Overflow();
    digits = digits * 10 + (c - '0');
    if (decimals >= 0) ++decimals;
  }
  if (!any_digit) throw Error::TypeMismatch({}, text);
  if (decimals < 0) decimals = 0;
  if (negative) digits = -digits;
  int64_t raw = 0;
  if (decimals <= 4) {
    Int128 scaled = digits;
    for (int i = decimals; i < 4; ++i) scaled *= 10;
    if (scaled > INT64_MAX || scaled < INT64_MIN) throw Error::Overflow();
    raw = static_cast<int64_t>(scaled);
  } else {
    Int128 divisor = 1;
    for (int i = 4; i < decimals; ++i) {
      if (divisor > kLimit) {  // far more decimals than can matter
        divisor = 0;
        break;
      }
      divisor *= 10;
    }
    if (divisor == 0) {
      raw = 0;
    } else if (!DivideHalfEven(digits, divisor, raw)) {
      throw Error::Overflow();
    }
  }
  return Currency(raw);
}

std::string Currency::ToDecimalText() const {
  // Work on the magnitude as unsigned so INT64_MIN has no overflow.
  bool negative = raw_ < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
  std::string text = std::to_string(magnitude / kScale);
  uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + kScale).substr(1);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return negative ? "-" + text : text;
}

bool Currency::TryAdd(Currency a, Currency b, Currency& out) noexcept {
  int64_t raw = 0;
  if (__builtin_add_overflow(a.raw_, b.raw_, &raw)) return false;
  out = Currency(raw);
  return true;
}

bool Currency::TrySubtract(Currency a, Currency b, Currency& out) noexcept {
  int64_t raw = 0;
  if (__builtin_sub_overflow(a.raw_, b.raw_, &raw)) return false;
  out = Currency(raw);
  return true;
}

bool Currency::TryMultiply(Currency a, Currency b, Currency& out) noexcept {
  int64_t raw = 0;
  if (!DivideHalfEven(static_cast<Int128>(a.raw_) * b.raw_, kScale, raw)) {
    return false;
  }
  out = Currency(raw);
  return true;
}

Currency Currency::operator+(Currency other) const {
  Currency out;
  if (!TryAdd(*this, other, out)) throw Error::Overflow();
  return out;
}

Currency Currency::operator-(Currency other) const {
  Currency out;
  if (!TrySubtract(*this, other, out)) throw Error::Overflow();
  return out;
}

Currency Currency::operator-() const {
  if (raw_ == INT64_MIN) throw Error::Overflow();
  return Currency(-raw_);
}

Currency Currency::operator*(Currency other) const {
  Currency out;
  if (!TryMultiply(*this, other, out)) throw Error::Overflow();
  return out;
}

Currency Currency::operator/(Currency other) const {
  if (other.raw_ == 0) throw Error::DivisionByZero();
  int64_t raw = 0;
  if (!DivideHalfEven(static_cast<Int128>(raw_) * kScale, other.raw_, raw)) {
    throw Error::Overflow();
  }
  return Currency(raw);
}

Currency Currency::RoundHalfEven(int digits) const {
  if (digits < 0) throw Error::InvalidCall();
  if (digits >= 4) return *this;
  int64_t step = 1;
  for (int i = digits; i < 4; ++i) step *= 10;
  int64_t steps = 0;
  int64_t raw = 0;
  if (!DivideHalfEven(raw_, step, steps) || __builtin_mul_overflow(steps, step, &raw)) {
    throw Error::Overflow();
  }
  return Currency(raw);
}

std::ostream& operator<<(std::ostream& out, Currency value) { return out << value.ToDecimalText(); }

}  // namespace vb
