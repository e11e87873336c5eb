#include "platform/script/conversion_builtins.h"

#include <algorithm>
#include <charconv>

#include "platform/script/date_values.h"
#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Variant;

// The language also reads the words it writes for Booleans in files.
Variant CBool(const Args& args) {
  if (const std::string* text = args[0].get_if<std::string>()) {
    if (SameName(*text, "#TRUE#")) return Variant(true);
    if (SameName(*text, "#FALSE#")) return Variant(false);
  }
  return Variant(vb::CBool(args[0]));
}

// True is all bits set: 255 as a Byte.
Variant CByte(const Args& args) {
  if (const bool* flag = args[0].get_if<bool>()) return Variant::Byte(*flag ? 255 : 0);
  return Variant::Byte(vb::CByte(args[0]));
}
Variant CCur(const Args& args) { return Variant(vb::CCur(args[0])); }
Variant CDate(const Args& args) { return Variant(ToDate(args[0])); }
Variant CDbl(const Args& args) { return Variant(vb::CDbl(args[0])); }
Variant CInt(const Args& args) { return Variant::Integer(vb::CInt(args[0])); }
Variant CLng(const Args& args) { return Variant(vb::CLng(args[0])); }
Variant CSng(const Args& args) { return Variant(vb::CSng(args[0])); }
Variant CStr(const Args& args) { return TextResult(vb::CStr(args[0]), args.Budget()); }

// The Format functions refuse a Null value with 13, as the language does
// (Null in the other arguments is 94).
const Variant& FormattedValue(const Args& args) {
  if (args[0].IsNull()) throw RuntimeError(vb::err::kTypeMismatch, "Null to format");
  return args[0];
}

// Longest text a number can add beside its decimals: 309 digits of the
// largest Double, their grouping, sign, parentheses, symbol and "%".
constexpr size_t kLongestIntegerText = 448;

struct FormatOptions {
  int32_t digits;  // -1: the locale's count
  int32_t leading_digit;
  int32_t parens_for_negative;
  int32_t group_digits;
};

// Arguments 1 to 4 of FormatNumber, FormatCurrency and FormatPercent. A
// digit count below -1 raises 5; one whose text could not fit the
// evaluation's budget raises 7 before anything is built.
FormatOptions ReadFormatOptions(const Args& args) {
  const FormatOptions options{
      OptionalLong(args, 1, -1), OptionalLong(args, 2, vb::kTristateDefault),
      OptionalLong(args, 3, vb::kTristateDefault), OptionalLong(args, 4, vb::kTristateDefault)};
  if (options.digits < -1) InvalidCall();
  args.Budget().Require(static_cast<size_t>(std::max(options.digits, 0)) + kLongestIntegerText);
  return options;
}

std::string Formatted(const Variant& value, const FormatOptions& options) {
  return vb::FormatNumber(value, options.digits, options.leading_digit, options.parens_for_negative,
                          options.group_digits);
}

Variant FormatNumber(const Args& args) {
  const Variant& value = FormattedValue(args);
  return TextResult(Formatted(value, ReadFormatOptions(args)), args.Budget());
}

// The locale's symbol goes next to the digits, inside the sign or the
// parentheses of a negative amount: before them, or after them with a
// blank where the locale puts it after.
Variant FormatCurrency(const Args& args) {
  const Variant& value = FormattedValue(args);
  std::string text = Formatted(value, ReadFormatOptions(args));
  const vb::Locale& locale = vb::Locale::Active();
  if (locale.currency_after) {
    const bool parenthesised = !text.empty() && text.back() == ')';
    text.insert(parenthesised ? text.size() - 1 : text.size(), " " + locale.currency_symbol);
  } else {
    const bool signed_text = !text.empty() && (text[0] == '-' || text[0] == '(');
    text.insert(signed_text ? 1 : 0, locale.currency_symbol);
  }
  return TextResult(std::move(text), args.Budget());
}

// The hundredfold value is taken to the 15 digits a Double shows, so that
// 0.145 is 14.5 per cent rather than 14.4999999999999.
Variant FormatPercent(const Args& args) {
  const Variant& value = FormattedValue(args);
  const FormatOptions options = ReadFormatOptions(args);
  const double hundredfold = vb::CDbl(value) * 100;
  RealResult(hundredfold);
  char buffer[32];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, hundredfold, std::chars_format::scientific, 14);
  double shown = 0;
  std::from_chars(buffer, written.ptr, shown);
  std::string text = Formatted(Variant(shown), options);
  if (!text.empty() && text.back() == ')') {
    text.insert(text.size() - 1, "%");
  } else {
    text += '%';
  }
  return TextResult(std::move(text), args.Budget());
}

// vbGeneralDate (0) shows the date part when there is one and the time
// when there is one; 1 to 4 are the long and short date and time.
Variant FormatDateTime(const Args& args) {
  const Variant& value = FormattedValue(args);
  const int32_t format = OptionalLong(args, 1, 0);
  if (format < 0 || format > 4) InvalidCall();
  const Variant date(ToDate(value));
  static constexpr const char* kPatterns[] = {nullptr, "Long Date", "Short Date", "Long Time",
                                              "Short Time"};
  std::string text;
  if (format != 0) {
    text = vb::Format(date, kPatterns[format]);
  } else {
    const DayAndTime parts = SplitDate(*date.get_if<vb::Date>());
    if (parts.day != 0) text = vb::Format(date, "Short Date");
    if (parts.day != 0 && parts.second != 0) text += ' ';
    if (parts.day == 0 || parts.second != 0) text += vb::Format(date, "Long Time");
  }
  return TextResult(std::move(text), args.Budget());
}

constexpr Builtin kTable[] = {
    {"CBool", 1, 1, &CBool},
    {"CByte", 1, 1, &CByte},
    {"CCur", 1, 1, &CCur},
    {"CDate", 1, 1, &CDate},
    {"CDbl", 1, 1, &CDbl},
    {"CInt", 1, 1, &CInt},
    {"CLng", 1, 1, &CLng},
    {"CSng", 1, 1, &CSng},
    {"CStr", 1, 1, &CStr},
    {"FormatCurrency", 1, 5, &FormatCurrency},
    {"FormatDateTime", 1, 2, &FormatDateTime},
    {"FormatNumber", 1, 5, &FormatNumber},
    {"FormatPercent", 1, 5, &FormatPercent},
};

}  // namespace

BuiltinTable ConversionBuiltins() { return kTable; }

}  // namespace kvt::script
