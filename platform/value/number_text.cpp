#include "platform/value/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/value/error.h"

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

}  // namespace

DecimalDigits ShortestDigits(double value) {
  DecimalDigits out;
  if (value == 0 || !std::isfinite(value)) return out;
  out.negative = value < 0;
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific);
  std::string text(buffer, result.ptr);
  size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') out.digits += text[i];
  }
  out.point = std::atoi(text.c_str() + e + 1) + 1;
  TrimZeros(out);
  return out;
}

DecimalDigits CurrencyDigits(Currency value) {
  DecimalDigits out;
  int64_t raw = value.raw();
  out.negative = raw < 0;
  uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw)
                               : static_cast<uint64_t>(raw);
  out.digits = std::to_string(magnitude);
  out.point = static_cast<int>(out.digits.size()) - 4;
  TrimZeros(out);
  return out;
}

DecimalDigits IntegerDigits(int64_t value) {
  DecimalDigits out;
  out.negative = value < 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value)
                                 : static_cast<uint64_t>(value);
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

std::string FixedText(const DecimalDigits& number, int min_integer,
                      int min_decimals, int max_decimals, bool group,
                      const Locale& locale) {
  const std::string& d = number.digits;
  int size = static_cast<int>(d.size());
  auto digit_at = [&](int i) { return i >= 0 && i < size ? d[static_cast<size_t>(i)] : '0'; };

  std::string integer;
  for (int i = 0; i < number.point; ++i) integer += digit_at(i);
  while (static_cast<int>(integer.size()) < min_integer) {
    integer.insert(integer.begin(), '0');
  }
  if (group && locale.group_size > 0 &&
      static_cast<int>(integer.size()) > locale.group_size) {
    std::string grouped;
    int count = static_cast<int>(integer.size());
    for (int i = 0; i < count; ++i) {
      if (i > 0 && (count - i) % locale.group_size == 0) {
        grouped += locale.grouping_separator;
      }
      grouped += integer[static_cast<size_t>(i)];
    }
    integer = std::move(grouped);
  }

  std::string fraction;
  for (int i = 0; i < max_decimals; ++i) fraction += digit_at(number.point + i);
  while (static_cast<int>(fraction.size()) > min_decimals &&
         fraction.back() == '0') {
    fraction.pop_back();
  }
  if (fraction.empty()) return integer;
  return integer + locale.decimal_separator + fraction;
}

std::optional<ScannedNumber> ScanLocaleNumber(const std::string& text,
                                              const Locale& locale) {
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
    auto result = std::from_chars(text.data() + pos + 2, text.data() + end,
                                  value, base);
    if (result.ec != std::errc() || result.ptr != text.data() + end ||
        value > 0xFFFFFFFFull) {
      return std::nullopt;
    }
    out.integral_radix = true;
    // Up to 16 bits the literal is an Integer, up to 32 bits a Long; both
    // read as two's complement, as the platform does.
    out.radix_value = value <= 0xFFFF ? static_cast<int16_t>(value)
                                      : static_cast<int32_t>(value);
    if (out.negative) out.radix_value = -out.radix_value;
    return out;
  }

  bool any_digit = false, in_fraction = false;
  for (; pos < end; ++pos) {
    char c = text[pos];
    if (c >= '0' && c <= '9') {
      out.mantissa += c;
      any_digit = true;
    } else if (c == locale.decimal_separator && !in_fraction) {
      in_fraction = true;
      out.mantissa += '.';
    } else if (c == locale.grouping_separator && !in_fraction && any_digit) {
      // Grouping is accepted anywhere in the integer part, as the
      // platform's own numeric test accepts it.
    } else {
      break;
    }
  }
  if (!any_digit) return std::nullopt;
  if (pos < end && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' ||
                    text[pos] == 'D')) {
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

double ScannedToDouble(const ScannedNumber& number) {
  if (number.integral_radix) return static_cast<double>(number.radix_value);
  std::string text = number.mantissa;
  if (number.exponent != 0) {
    text += 'e';
    text += std::to_string(number.exponent);
  }
  double value = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; only a too-large magnitude is an overflow.
    if (number.exponent < 0) return 0.0;
    throw Error::Overflow();
  }
  return number.negative ? -value : value;
}

std::string GeneralText(double value, int significant, const Locale& locale) {
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", significant, value);
  std::string text(buffer);
  // "%G" trims trailing zeros but writes exponents as "E+05"; the platform
  // writes at least two exponent digits too, so only the point changes.
  if (locale.decimal_separator != '.') {
    for (char& c : text) {
      if (c == '.') c = locale.decimal_separator;
    }
  }
  return text;
}

}  // namespace vb::detail
