#include "platform/value/float_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace vb::detail {

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
  const bool plain = before_point > 0 ? before_point <= significant
                                      : count - before_point <= significant;
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

}  // namespace vb::detail
