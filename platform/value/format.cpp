// FormatNumber and Format.
#include <cctype>
#include <cmath>

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "platform/value/text.h"

namespace vb {
namespace {

using detail::DecimalDigits;

// The value as exact decimal digits where it has them (integers, currency)
// and as its shortest decimal form otherwise.
DecimalDigits NumberDigits(const Variant& value, const Locale& locale) {
  switch (value.type()) {
    case VarType::Integer: return detail::IntegerDigits(*value.get_if<int16_t>());
    case VarType::Long: return detail::IntegerDigits(*value.get_if<int32_t>());
    case VarType::Byte: return detail::IntegerDigits(*value.get_if<uint8_t>());
    case VarType::Boolean: return detail::IntegerDigits(*value.get_if<bool>() ? -1 : 0);
    case VarType::Currency: return detail::CurrencyDigits(*value.get_if<Currency>());
    case VarType::Single:
      // A Single shows the digits it was given, not its binary expansion.
      return detail::SingleDigits(*value.get_if<float>());
    case VarType::String: {
      auto scanned = detail::ScanNumber(*value.get_if<std::string>());
      if (!scanned) throw Error::TypeMismatch({}, *value.get_if<std::string>());
      if (scanned->integral_radix) return detail::IntegerDigits(scanned->radix_value);
      return detail::ShortestDigits(detail::ScannedToDouble(*scanned));
    }
    default: return detail::ShortestDigits(CDbl(value, locale));
  }
}

bool Resolve(int tristate, bool locale_default) {
  return tristate == kTristateDefault ? locale_default : tristate != 0;
}

std::string Pad2(int value) {
  return value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

// The first three characters of a month or day name; UTF-8 names ("März")
// keep their letters whole.
std::string Abbreviated(const std::string& name) {
  size_t end = 0;
  for (int characters = 0; end < name.size() && characters < 3; ++characters) {
    ++end;
    while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
  }
  return name.substr(0, end);
}

// Renders d/dd/ddd/dddd, M/MM/MMM/MMMM (or m.. outside a time), yy/yyyy,
// h/hh/H/HH, t/tt, n/nn (and m/mm right after an hour), s/ss; anything else is
// copied, and text in double quotes or after a backslash is literal. Month
// and day names are the locale's. A pattern with "tt" shows hours on a
// 12-hour clock, "tt" as AM or PM ("t" as A or P).
std::string FormatDate(const Date& date, const std::string& pattern, const Locale& locale) {
  std::string out;
  bool after_hour = false;
  const bool twelve_hour = pattern.find("tt") != std::string::npos;
  const int hour = twelve_hour && date.Hour() % 12 == 0 ? 12
                   : twelve_hour                        ? date.Hour() % 12
                                                        : date.Hour();
  size_t i = 0;
  while (i < pattern.size()) {
    char c = pattern[i];
    if (c == '"') {
      size_t close = pattern.find('"', i + 1);
      if (close == std::string::npos) close = pattern.size();
      out += pattern.substr(i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (c == '\\' && i + 1 < pattern.size()) {
      out += pattern[i + 1];
      i += 2;
      continue;
    }
    const char lower = LowerAscii(c);
    size_t run = 1;
    while (i + run < pattern.size() && LowerAscii(pattern[i + run]) == lower) {
      ++run;
    }
    switch (lower) {
      case 'd':
        if (run >= 3) {
          const auto weekday = static_cast<size_t>(
              (static_cast<int64_t>(std::floor(date.serial())) % 7 + 7 + 6) % 7);
          const std::string& name = locale.day_names[weekday];
          out += run >= 4 ? name : Abbreviated(name);
        } else {
          out += run == 2 ? Pad2(date.Day()) : std::to_string(date.Day());
        }
        break;
      case 'm':
        if (after_hour && c == 'm' && run <= 2) {
          out += run == 2 ? Pad2(date.Minute()) : std::to_string(date.Minute());
        } else if (run >= 3) {
          const std::string& name = locale.month_names[static_cast<size_t>(date.Month() - 1)];
          out += run >= 4 ? name : Abbreviated(name);
        } else {
          out += run == 2 ? Pad2(date.Month()) : std::to_string(date.Month());
        }
        break;
      case 'y':
        if (run >= 3) {
          out += std::to_string(date.Year());
        } else {
          out += Pad2(date.Year() % 100);
        }
        break;
      case 'h': out += run >= 2 ? Pad2(hour) : std::to_string(hour); break;
      case 't':
        if (c != 't') {
          out.append(run, c);
        } else {
          out += date.Hour() < 12 ? (run >= 2 ? "AM" : "A") : (run >= 2 ? "PM" : "P");
        }
        break;
      case 'n': out += run >= 2 ? Pad2(date.Minute()) : std::to_string(date.Minute()); break;
      case 's': out += run >= 2 ? Pad2(date.Second()) : std::to_string(date.Second()); break;
      default: out.append(run, c); break;
    }
    if (lower != ' ' && lower != ':') after_hour = lower == 'h';
    i += run;
  }
  return out;
}

struct NumericPattern {
  std::string prefix, suffix;
  int min_integer = 0;
  int min_decimals = 0;
  int max_decimals = 0;
  bool group = false;
  bool percent = false;
};

bool ParseNumericPattern(const std::string& pattern, NumericPattern& out) {
  size_t first = pattern.find_first_of("#0.,");
  size_t last = pattern.find_last_of("#0");
  if (first == std::string::npos || last == std::string::npos || last < first) {
    return false;
  }
  out.prefix = pattern.substr(0, first);
  out.suffix = pattern.substr(last + 1);
  std::string core = pattern.substr(first, last - first + 1);
  if (core.find_first_not_of("#0.,") != std::string::npos) return false;
  size_t point = core.find('.');
  std::string integer = core.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : core.substr(point + 1);
  out.group = integer.find(',') != std::string::npos;
  for (char c : integer) out.min_integer += c == '0';
  bool optional_seen = false;
  for (char c : fraction) {
    if (c == '0' && !optional_seen) ++out.min_decimals;
    if (c == '#') optional_seen = true;
    if (c == '0' || c == '#') ++out.max_decimals;
  }
  out.percent = (out.prefix + out.suffix).find('%') != std::string::npos;
  return true;
}

bool EqualsIgnoreCase(const std::string& a, const char* b) { return SameText(a, b); }

std::string WithSign(bool negative, const DecimalDigits& rounded, std::string text) {
  return negative && !detail::IsZero(rounded) ? "-" + text : text;
}

}  // namespace

std::string FormatNumber(const Variant& value, int digits, int leading_digit,
                         int parens_for_negative, int group_digits, const Locale& locale) {
  if (value.IsNull()) throw Error::InvalidUseOfNull();
  if (value.IsObject()) throw Error::TypeMismatch();
  // The platform shows at most nine decimals and refuses more.
  if (digits < -1 || digits > kMaxFormatDigits) throw Error::InvalidCall();
  if (digits == -1) digits = Locale::kDefaultDigits;
  DecimalDigits number = NumberDigits(value, locale);
  detail::RoundHalfAwayFromZero(number, digits);
  std::string text = detail::FixedText(number, Resolve(leading_digit, true) ? 1 : 0, digits, digits,
                                       Resolve(group_digits, true));
  if (!number.negative || detail::IsZero(number)) return text;
  return Resolve(parens_for_negative, false) ? "(" + text + ")" : "-" + text;
}

std::string Format(const Variant& value, const std::string& pattern, const Locale& locale) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (pattern.empty()) return CStr(value, locale);

  if (EqualsIgnoreCase(pattern, "Short Date")) {
    return FormatDate(CDate(value, locale), locale.short_date, locale);
  }
  if (EqualsIgnoreCase(pattern, "Long Date")) {
    return FormatDate(CDate(value, locale), locale.long_date, locale);
  }
  if (EqualsIgnoreCase(pattern, "Long Time")) {
    return FormatDate(CDate(value, locale), locale.long_time, locale);
  }
  if (EqualsIgnoreCase(pattern, "Short Time")) {
    return FormatDate(CDate(value, locale), "HH:nn", locale);
  }
  const char* named = nullptr;
  if (EqualsIgnoreCase(pattern, "General Number")) named = "0.###############";
  if (EqualsIgnoreCase(pattern, "Fixed")) named = "0.00";
  if (EqualsIgnoreCase(pattern, "Standard")) named = "#,##0.00";
  if (EqualsIgnoreCase(pattern, "Percent")) named = "0.00%";

  std::string effective = named ? named : pattern;
  NumericPattern numeric;
  // Date letters make a date pattern unless digit placeholders make it a
  // number's, whose other letters are literal text ("0 Units").
  const bool is_date_pattern = effective.find_first_of("dDyYhHsSnM") != std::string::npos &&
                               effective.find_first_of("0#") == std::string::npos;
  if (!is_date_pattern && ParseNumericPattern(effective, numeric)) {
    if (!IsNumeric(value, locale)) return CStr(value, locale);
    DecimalDigits number = NumberDigits(value, locale);
    if (numeric.percent && !detail::IsZero(number)) number.point += 2;
    detail::RoundHalfAwayFromZero(number, numeric.max_decimals);
    std::string body = detail::FixedText(number, numeric.min_integer, numeric.min_decimals,
                                         numeric.max_decimals, numeric.group);
    return WithSign(number.negative, number, numeric.prefix + body + numeric.suffix);
  }
  if (value.type() == VarType::Date || is_date_pattern) {
    if (value.type() != VarType::Date && !IsNumeric(value, locale) &&
        !Date::Parse(CStr(value, locale), locale)) {
      return CStr(value, locale);
    }
    return FormatDate(CDate(value, locale), effective, locale);
  }
  return CStr(value, locale);
}

}  // namespace vb
