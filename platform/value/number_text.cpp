#include "platform/value/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/value/error.h"
#include "platform/value/locale.h"

namespace vb::detail {
namespace {

void TrimZeros(DecimalDigits& number) {
  size_t first = number.digits.find_first_not_of('0');
  if (first == std::string::npos) {
    number.digits.clear();
    number.point = 0;
    return;
  }
  number.digits.erase(0, first);
  number.point -= static_cast<int>(first);
  while (!number.digits.empty() && number.digits.back() == '0') {
    number.digits.pop_back();
  }
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The digits and exponent of to_chars' scientific text ("1.25e+02").
DecimalDigits ScientificDigits(bool negative, const char* first, const char* last) {
  DecimalDigits out;
  out.negative = negative;
  const char* e = first;
  while (e != last && *e != 'e') ++e;
  for (const char* c = first; c != e; ++c) {
    if (*c != '.') out.digits += *c;
  }
  int exponent = 0;
  // from_chars takes no "+"; to_chars always writes a sign.
  if (e != last && e + 1 != last && e[1] == '+') ++e;
  if (e != last) std::from_chars(e + 1, last, exponent);
  out.point = exponent + 1;
  TrimZeros(out);
  return out;
}

}  // namespace

DecimalDigits ShortestDigits(double value) {
  if (value == 0 || !std::isfinite(value)) return {};
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific);
  return ScientificDigits(value < 0, buffer, result.ptr);
}

DecimalDigits SingleDigits(float value) {
  if (value == 0 || !std::isfinite(value)) return {};
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(static_cast<double>(value)),
                              std::chars_format::scientific, 6);
  return ScientificDigits(value < 0, buffer, result.ptr);
}

DecimalDigits CurrencyDigits(Currency value) {
  DecimalDigits out;
  int64_t raw = value.raw();
  out.negative = raw < 0;
  uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  out.digits = std::to_string(magnitude);
  out.point = static_cast<int>(out.digits.size()) - 4;
  TrimZeros(out);
  return out;
}

DecimalDigits IntegerDigits(int64_t value) {
  DecimalDigits out;
  out.negative = value < 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  out.digits = std::to_string(magnitude);
  out.point = static_cast<int>(out.digits.size());
  TrimZeros(out);
  return out;
}

bool IsZero(const DecimalDigits& number) { return number.digits.empty(); }

void RoundHalfAwayFromZero(DecimalDigits& number, int decimals) {
  int keep = number.point + decimals;
  int size = static_cast<int>(number.digits.size());
  if (keep >= size) return;
  if (keep < 0) {
    number.digits.clear();
    number.point = 0;
    return;
  }
  bool round_up = number.digits[static_cast<size_t>(keep)] >= '5';
  number.digits.resize(static_cast<size_t>(keep));
  if (round_up) {
    int i = keep - 1;
    while (i >= 0 && number.digits[static_cast<size_t>(i)] == '9') {
      number.digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++number.digits[static_cast<size_t>(i)];
    } else {
      number.digits.insert(number.digits.begin(), '1');
      ++number.point;
    }
  }
  TrimZeros(number);
}

std::string FixedText(const DecimalDigits& number, int min_integer, int min_decimals,
                      int max_decimals, bool group) {
  const std::string& d = number.digits;
  int size = static_cast<int>(d.size());
  auto digit_at = [&](int i) { return i >= 0 && i < size ? d[static_cast<size_t>(i)] : '0'; };

  std::string integer;
  for (int i = 0; i < number.point; ++i) integer += digit_at(i);
  while (static_cast<int>(integer.size()) < min_integer) {
    integer.insert(integer.begin(), '0');
  }
  if (group && static_cast<int>(integer.size()) > Locale::kGroupSize) {
    std::string grouped;
    int count = static_cast<int>(integer.size());
    for (int i = 0; i < count; ++i) {
      if (i > 0 && (count - i) % Locale::kGroupSize == 0) {
        grouped += Locale::kGroupingSeparator;
      }
      grouped += integer[static_cast<size_t>(i)];
    }
    integer = std::move(grouped);
  }

  std::string fraction;
  for (int i = 0; i < max_decimals; ++i) fraction += digit_at(number.point + i);
  while (static_cast<int>(fraction.size()) > min_decimals && fraction.back() == '0') {
    fraction.pop_back();
  }
  if (fraction.empty()) return integer;
  return integer + Locale::kDecimalSeparator + fraction;
}

std::optional<ScannedNumber> ScanNumber(const std::string& text) {
  ScannedNumber out;
  size_t pos = 0, end = text.size();
  while (pos < end && IsSpace(text[pos])) ++pos;
  while (end > pos && IsSpace(text[end - 1])) --end;
  if (pos == end) return std::nullopt;

  bool parenthesised = false;
  if (text[pos] == '(' && text[end - 1] == ')') {
    parenthesised = true;
    ++pos;
    --end;
    while (pos < end && IsSpace(text[pos])) ++pos;
    while (end > pos && IsSpace(text[end - 1])) --end;
  }
  bool sign_seen = false;
  if (pos < end && (text[pos] == '-' || text[pos] == '+')) {
    out.negative = text[pos] == '-';
    sign_seen = true;
    ++pos;
    while (pos < end && IsSpace(text[pos])) ++pos;
  } else if (end > pos && (text[end - 1] == '-' || text[end - 1] == '+')) {
    out.negative = text[end - 1] == '-';
    sign_seen = true;
    --end;
    while (end > pos && IsSpace(text[end - 1])) --end;
  }
  if (parenthesised) {
    if (sign_seen) return std::nullopt;
    out.negative = true;
  }
  if (pos == end) return std::nullopt;

  // &H and &O literals.
  if (text[pos] == '&' && pos + 1 < end) {
    char kind = static_cast<char>(text[pos + 1] | 0x20);
    int base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (base == 0 || pos + 2 == end) return std::nullopt;
    uint64_t value = 0;
    auto result = std::from_chars(text.data() + pos + 2, text.data() + end, value, base);
    if (result.ec != std::errc() || result.ptr != text.data() + end || value > 0xFFFFFFFFull) {
      return std::nullopt;
    }
    out.integral_radix = true;
    // Up to 16 bits the literal is an Integer, up to 32 bits a Long; both
    // read as two's complement, as the platform does.
    out.radix_value = value <= 0xFFFF ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
    if (out.negative) out.radix_value = -out.radix_value;
    return out;
  }

  bool any_digit = false, in_fraction = false;
  for (; pos < end; ++pos) {
    char c = text[pos];
    if (c >= '0' && c <= '9') {
      out.mantissa += c;
      any_digit = true;
    } else if (c == Locale::kDecimalSeparator && !in_fraction) {
      in_fraction = true;
      out.mantissa += '.';
    } else if (c == Locale::kGroupingSeparator && !in_fraction && any_digit) {
      // Grouping is accepted anywhere in the integer part, as the
      // platform's own numeric test accepts it.
    } else {
      break;
    }
  }
  if (!any_digit) return std::nullopt;
  if (pos < end && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
    ++pos;
    bool negative_exponent = false;
    if (pos < end && (text[pos] == '-' || text[pos] == '+')) {
      negative_exponent = text[pos] == '-';
      ++pos;
    }
    if (pos == end) return std::nullopt;
    int exponent = 0;
    for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
      if (exponent < 100000) exponent = exponent * 10 + (text[pos] - '0');
    }
    out.exponent = negative_exponent ? -exponent : exponent;
  }
  if (pos != end) return std::nullopt;
  return out;
}

std::optional<double> DecimalTextToDouble(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  double value = 0;
  auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small: 0.d1d2... x 10^order decides which, where
    // order counts the digits before the point, less the zeros after it
    // that precede the first significant digit, plus the exponent.
    int64_t order = 0;
    bool point = false, significant = false;
    size_t pos = text.size() > 0 && text[0] == '-' ? 1 : 0;
    for (; pos < text.size() && text[pos] != 'e' && text[pos] != 'E'; ++pos) {
      if (text[pos] == '.') {
        point = true;
      } else if (text[pos] != '0' || significant) {
        significant = true;
        if (!point) ++order;
      } else if (point) {
        --order;
      }
    }
    if (pos < text.size()) {
      size_t digit = pos + 1;
      const bool negative = digit < text.size() && text[digit] == '-';
      if (digit < text.size() && (text[digit] == '-' || text[digit] == '+')) ++digit;
      int64_t exponent = 0;
      for (; digit < text.size() && exponent < 1000000; ++digit) {
        exponent = exponent * 10 + (text[digit] - '0');
      }
      order += negative ? -exponent : exponent;
    }
    if (order > 0) return std::nullopt;
    return 0.0;
  }
  if (result.ec != std::errc() || result.ptr != last) return std::nullopt;
  return value;
}

std::optional<double> ScannedValue(const ScannedNumber& number) {
  if (number.integral_radix) return static_cast<double>(number.radix_value);
  std::string text = number.mantissa;
  if (number.exponent != 0) {
    text += 'e';
    text += std::to_string(number.exponent);
  }
  auto value = DecimalTextToDouble(text);
  if (value && number.negative) *value = -*value;
  return value;
}

double ScannedToDouble(const ScannedNumber& number) {
  auto value = ScannedValue(number);
  if (!value) throw Error::Overflow();
  return *value;
}

std::string FloatText(double value, int significant) {
  if (value == 0 || !std::isfinite(value)) return "0";
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                     std::chars_format::scientific, significant - 1);
  // buffer holds "d.ddde+XX": take the digits and the exponent apart.
  std::string digits;
  const char* cursor = buffer;
  for (; cursor < written.ptr && *cursor != 'e'; ++cursor) {
    if (*cursor != '.') digits += *cursor;
  }
  // The exponent ends where to_chars stopped writing: the buffer has no
  // terminating zero.
  int exponent = 0;
  const char* sign = cursor + 1;
  const bool negative = sign < written.ptr && *sign == '-';
  if (sign < written.ptr && (*sign == '-' || *sign == '+')) ++sign;
  std::from_chars(sign, written.ptr, exponent);
  if (negative) exponent = -exponent;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int count = static_cast<int>(digits.size());
  const int before_point = exponent + 1;
  const bool plain =
      before_point > 0 ? before_point <= significant : count - before_point <= significant;
  std::string text = value < 0 ? "-" : "";
  if (!plain) {
    text += digits[0];
    if (count > 1) text.append(1, '.').append(digits, 1);
    text += exponent < 0 ? "E-" : "E+";
    if (std::abs(exponent) < 10) text += '0';
    return text + std::to_string(std::abs(exponent));
  }
  if (before_point <= 0) {
    text.append("0").append(1, '.');
    return text.append(static_cast<size_t>(-before_point), '0').append(digits);
  }
  if (before_point >= count) {
    return text.append(digits).append(static_cast<size_t>(before_point - count), '0');
  }
  text.append(digits, 0, static_cast<size_t>(before_point)).append(1, '.');
  return text.append(digits, static_cast<size_t>(before_point));
}

double RoundToSignificant(double value, int significant) {
  if (value == 0 || !std::isfinite(value)) return 0;
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                     std::chars_format::scientific, significant - 1);
  double rounded = 0;
  std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
  return rounded;
}

}  // namespace vb::detail

namespace vb {

std::string PlainText(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string ZeroPadded(int64_t value, int width) {
  char buffer[32];
  const uint64_t magnitude =
      value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  std::string digits(buffer, result.ptr);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  }
  return value < 0 ? "-" + digits : digits;
}

std::string TwoDecimalText(Currency value) {
  detail::DecimalDigits digits = detail::CurrencyDigits(value);
  detail::RoundHalfAwayFromZero(digits, 2);
  const bool negative = digits.negative && !detail::IsZero(digits);
  return (negative ? "-" : "") + detail::FixedText(digits, 1, 2, 2, true);
}

std::optional<int64_t> ReadPlainInteger(std::string_view text) {
  int64_t value = 0;
  const char* last = text.data() + text.size();
  auto result = std::from_chars(text.data(), last, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != last) return std::nullopt;
  return value;
}

std::optional<double> ReadPlainNumber(std::string_view text) {
  // The form is checked here: from_chars would also take "inf", "nan" and
  // a missing integer or fraction part that the platform refuses.
  size_t pos = !text.empty() && text[0] == '-' ? 1 : 0;
  size_t digits = 0;
  bool point = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    const size_t exponent = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    if (pos == exponent) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  return detail::DecimalTextToDouble(text);
}

}  // namespace vb
