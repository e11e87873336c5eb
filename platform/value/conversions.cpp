#include "platform/value/conversions.h"

#include <cctype>
#include <cmath>

#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "platform/value/text.h"

namespace vb {
namespace {

double StringToDouble(const std::string& text) {
  auto scanned = detail::ScanNumber(text);
  if (!scanned) throw Error::TypeMismatch({}, text);
  return detail::ScannedToDouble(*scanned);
}

// Rounds half to even and checks the range of an integer conversion.
int64_t RoundToRange(double value, int64_t low, int64_t high) {
  if (!std::isfinite(value)) throw Error::Overflow();
  double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
    throw Error::Overflow();
  }
  return static_cast<int64_t>(rounded);
}

int64_t ToRoundedInteger(const Variant& value, int64_t low, int64_t high, const Locale& locale) {
  if (auto* c = value.get_if<Currency>()) {
    // Exact: round the ten-thousandths half to even without a double.
    int64_t raw = c->raw();
    int64_t whole = raw / Currency::kScale;
    int64_t rest = raw % Currency::kScale;
    int64_t twice = (rest < 0 ? -rest : rest) * 2;
    if (twice > Currency::kScale || (twice == Currency::kScale && whole % 2 != 0)) {
      whole += raw < 0 ? -1 : 1;
    }
    if (whole < low || whole > high) throw Error::Overflow();
    return whole;
  }
  return RoundToRange(CDbl(value, locale), low, high);
}

}  // namespace

double RoundHalfEven(double value) { return std::nearbyint(value); }

double RoundHalfEven(double value, int digits) {
  if (digits < 0) throw Error::InvalidCall();
  if (digits == 0) return std::nearbyint(value);
  if (digits > 15 || !std::isfinite(value)) return value;
  double scale = std::pow(10.0, digits);
  // The platform rounds the scaled double as the multiplication left it:
  // 0.995 (stored just below) scales to exactly 99.5 and rounds to 100,
  // while 12.345 scales to 1234.4999... and rounds down.
  double scaled = value * scale;
  if (!std::isfinite(scaled)) return value;
  return std::nearbyint(scaled) / scale;
}

std::string CStr(const Variant& value, const Locale& locale) {
  switch (value.type()) {
    case VarType::Empty: return {};
    case VarType::Null: throw Error::InvalidUseOfNull();
    case VarType::Boolean: return *value.get_if<bool>() ? locale.true_text : locale.false_text;
    case VarType::Integer: return std::to_string(*value.get_if<int16_t>());
    case VarType::Long: return std::to_string(*value.get_if<int32_t>());
    case VarType::Byte: return std::to_string(*value.get_if<uint8_t>());
    case VarType::Single: return detail::FloatText(*value.get_if<float>(), 7);
    case VarType::Double: return detail::FloatText(*value.get_if<double>(), 15);
    case VarType::Currency: return value.get_if<Currency>()->ToDecimalText();
    case VarType::Date: {
      const Date& date = *value.get_if<Date>();
      std::string text = Format(Variant(date), "Short Date", locale);
      if (date.HasTime()) {
        text += ' ';
        text += Format(Variant(date), "Long Time", locale);
      }
      return text;
    }
    case VarType::String: return *value.get_if<std::string>();
    case VarType::Object:
    case VarType::Array: throw Error::TypeMismatch();
  }
  throw Error::TypeMismatch();
}

double CDbl(const Variant& value, const Locale&) {
  switch (value.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: throw Error::InvalidUseOfNull();
    case VarType::Boolean: return *value.get_if<bool>() ? -1 : 0;
    case VarType::Integer: return *value.get_if<int16_t>();
    case VarType::Long: return *value.get_if<int32_t>();
    case VarType::Byte: return *value.get_if<uint8_t>();
    case VarType::Single: return *value.get_if<float>();
    case VarType::Double: return *value.get_if<double>();
    case VarType::Currency: return value.get_if<Currency>()->ToDouble();
    case VarType::Date: return value.get_if<Date>()->serial();
    case VarType::String: return StringToDouble(*value.get_if<std::string>());
    case VarType::Object:
    case VarType::Array: throw Error::TypeMismatch();
  }
  throw Error::TypeMismatch();
}

float CSng(const Variant& value, const Locale& locale) {
  double number = CDbl(value, locale);
  if (std::isfinite(number) && std::fabs(number) > 3.402823466e38) {
    throw Error::Overflow();
  }
  return static_cast<float>(number);
}

Currency CCur(const Variant& value, const Locale& locale) {
  if (auto* c = value.get_if<Currency>()) return *c;
  if (auto* text = value.get_if<std::string>()) {
    auto scanned = detail::ScanNumber(*text);
    if (!scanned) throw Error::TypeMismatch({}, *text);
    // Plain decimal text converts exactly, without a detour through double.
    if (!scanned->integral_radix && scanned->exponent == 0) {
      Currency magnitude = Currency::FromDecimalText(scanned->mantissa);
      return scanned->negative ? -magnitude : magnitude;
    }
    return Currency::FromDouble(detail::ScannedToDouble(*scanned));
  }
  switch (value.type()) {
    case VarType::Integer: return Currency::FromInt(*value.get_if<int16_t>());
    case VarType::Long: return Currency::FromInt(*value.get_if<int32_t>());
    case VarType::Byte: return Currency::FromInt(*value.get_if<uint8_t>());
    default: return Currency::FromDouble(CDbl(value, locale));
  }
}

int32_t CLng(const Variant& value, const Locale& locale) {
  return static_cast<int32_t>(ToRoundedInteger(value, INT32_MIN, INT32_MAX, locale));
}

int16_t CInt(const Variant& value, const Locale& locale) {
  return static_cast<int16_t>(ToRoundedInteger(value, INT16_MIN, INT16_MAX, locale));
}

uint8_t CByte(const Variant& value, const Locale& locale) {
  return static_cast<uint8_t>(ToRoundedInteger(value, 0, 255, locale));
}

bool CBool(const Variant& value, const Locale& locale) {
  switch (value.type()) {
    case VarType::Empty: return false;
    case VarType::Null: throw Error::InvalidUseOfNull();
    case VarType::Boolean: return *value.get_if<bool>();
    case VarType::Object:
    case VarType::Array: throw Error::TypeMismatch();
    case VarType::String: {
      const std::string& text = *value.get_if<std::string>();
      std::string word = LCase(TrimWhitespace(text));
      if (word == LCase(locale.true_text) || word == "true") return true;
      if (word == LCase(locale.false_text) || word == "false") return false;
      return StringToDouble(text) != 0;
    }
    case VarType::Currency: return value.get_if<Currency>()->raw() != 0;
    default: return CDbl(value, locale) != 0;
  }
}

Date CDate(const Variant& value, const Locale& locale) {
  switch (value.type()) {
    case VarType::Date: return *value.get_if<Date>();
    case VarType::Null: throw Error::InvalidUseOfNull();
    case VarType::Object:
    case VarType::Array: throw Error::TypeMismatch();
    case VarType::String: {
      const std::string& text = *value.get_if<std::string>();
      if (auto date = Date::Parse(text, locale)) return *date;
      if (auto scanned = detail::ScanNumber(text)) {
        return Date::FromSerial(detail::ScannedToDouble(*scanned));
      }
      throw Error::TypeMismatch({}, text);
    }
    default: return Date::FromSerial(CDbl(value, locale));
  }
}

bool IsNull(const Variant& value) { return value.IsNull(); }
bool IsEmpty(const Variant& value) { return value.IsEmpty(); }

bool IsNumeric(const Variant& value, const Locale& locale) {
  switch (value.type()) {
    case VarType::Null:
    case VarType::Date:
    case VarType::Object:
    case VarType::Array: return false;
    case VarType::String:
      return ParseLocaleNumber(*value.get_if<std::string>(), locale).has_value();
    default: return true;
  }
}

std::optional<double> ParseLocaleNumber(const std::string& text, const Locale&) {
  auto scanned = detail::ScanNumber(text);
  if (!scanned) return std::nullopt;
  return detail::ScannedValue(*scanned);
}

double Val(const std::string& text) {
  // Blanks anywhere are skipped, so collect the characters that can make a
  // number and stop at the first one that cannot continue it.
  std::string number;
  size_t pos = 0;
  auto skip_blanks = [&] {
    while (pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r')) {
      ++pos;
    }
  };
  skip_blanks();
  if (pos + 1 < text.size() && text[pos] == '&') {
    char kind = static_cast<char>(text[pos + 1] | 0x20);
    int base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (base == 0) return 0;
    pos += 2;
    int64_t value = 0;
    int digits = 0;
    for (;; ++pos) {
      skip_blanks();
      if (pos >= text.size()) break;
      int digit = std::isxdigit(static_cast<unsigned char>(text[pos]))
                      ? (std::isdigit(static_cast<unsigned char>(text[pos]))
                             ? text[pos] - '0'
                             : (text[pos] | 0x20) - 'a' + 10)
                      : 99;
      if (digit >= base || digits == 8) break;
      value = value * base + digit;
      ++digits;
    }
    // As a literal, up to 16 bits is an Integer and reads signed.
    if (value <= 0xFFFF) return static_cast<int16_t>(value);
    return static_cast<int32_t>(value);
  }
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    if (text[pos] == '-') number += '-';
    ++pos;
  }
  bool any_digit = false, seen_point = false;
  for (;; ++pos) {
    skip_blanks();
    if (pos >= text.size()) break;
    char c = text[pos];
    if (c >= '0' && c <= '9') {
      number += c;
      any_digit = true;
    } else if (c == '.' && !seen_point) {
      number += c;
      seen_point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return 0;
  if (pos < text.size() &&
      (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
    std::string exponent = "e";
    size_t save = pos++;
    skip_blanks();
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
      exponent += text[pos++];
    }
    bool exponent_digit = false;
    for (;; ++pos) {
      skip_blanks();
      if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') break;
      if (exponent.size() < 8) exponent += text[pos];
      exponent_digit = true;
    }
    if (exponent_digit)
      number += exponent;
    else
      pos = save;
  }
  if (number.front() == '.' || (number.size() > 1 && number[0] == '-' && number[1] == '.')) {
    number.insert(number.begin() + (number[0] == '-' ? 1 : 0), '0');
  }
  auto value = detail::DecimalTextToDouble(number);
  if (!value) throw Error::Overflow();
  return *value;
}

double Val(const Variant& value) {
  if (value.IsNull()) throw Error::InvalidUseOfNull();
  if (value.IsNumber()) return CDbl(value);
  return Val(CStr(value));
}

}  // namespace vb
