// The platform's conversion functions, with its rules:
//  - Empty converts to 0, "" or False; Null raises 94 (Invalid use of Null)
//    except where a function is defined on Null (IsNull, IsNumeric, Val).
//  - Numbers in text read and write with "." as the decimal point and ","
//    as grouping, whatever the locale or the C library's locale says;
//    surrounding blanks are accepted, a trailing or parenthesised sign too.
//    The locale gives only the date order and the words for True and False.
//  - Integer conversions round half to even (banker's rounding) and raise
//    6 (Overflow) out of range; text that is no number raises 13.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/value/locale.h"
#include "platform/value/variant.h"

namespace vb {

std::string CStr(const Variant& value, const Locale& locale = Locale::Active());
double CDbl(const Variant& value, const Locale& locale = Locale::Active());
float CSng(const Variant& value, const Locale& locale = Locale::Active());
Currency CCur(const Variant& value, const Locale& locale = Locale::Active());
int32_t CLng(const Variant& value, const Locale& locale = Locale::Active());
int16_t CInt(const Variant& value, const Locale& locale = Locale::Active());
uint8_t CByte(const Variant& value, const Locale& locale = Locale::Active());
bool CBool(const Variant& value, const Locale& locale = Locale::Active());
// Text in the locale's short date order or ISO order; numbers are serials.
Date CDate(const Variant& value, const Locale& locale = Locale::Active());

// Rounds half to even to a whole number (the rounding of CLng and CInt).
double RoundHalfEven(double value);
// Rounds half to even to `digits` decimals (the platform's Round).
double RoundHalfEven(double value, int digits);

bool IsNull(const Variant& value);
bool IsEmpty(const Variant& value);
// True for numbers, Booleans, Empty and text that reads as a number
// ("1,234.5", " 12 ", "-3", "(5)", "1E3", "&H1F", "1e-400"); false for
// Null, "", "12abc", a number beyond the Double range ("1e400"), dates and
// objects.
bool IsNumeric(const Variant& value, const Locale& locale = Locale::Active());
// Reads a number from text under the platform's rules; nullopt when the
// text is not numeric (IsNumeric is false). Never raises.
std::optional<double> ParseLocaleNumber(const std::string& text, const Locale& locale);

// The platform's Val: the leading number of the text with "." as decimal
// point whatever the locale; blanks are skipped anywhere; "&H"/"&O"
// prefixes read hexadecimal and octal; no number at the start gives 0.
double Val(const std::string& text);
double Val(const Variant& value);
inline double Val(const char* text) { return Val(std::string(text)); }

// Tristate arguments of FormatNumber: -1 true, 0 false, -2 locale default.
inline constexpr int kTristateTrue = -1;
inline constexpr int kTristateFalse = 0;
inline constexpr int kTristateDefault = -2;

// The most decimals FormatNumber shows.
inline constexpr int kMaxFormatDigits = 9;

// The platform's FormatNumber. `digits` -1 means the default, two.
// Half-way values round away from zero on the value's shortest decimal form
// (0.125 -> "0.13", 1.005 -> "1.01"), which is what a reader of the figure
// expects; Currency values round on their exact decimals. A value that
// rounds to zero shows no minus sign. Raises 13 for text that is no number,
// 94 for Null and 5 for `digits` below -1 or above kMaxFormatDigits.
std::string FormatNumber(const Variant& value, int digits = -1,
                         int leading_digit = kTristateDefault,
                         int parens_for_negative = kTristateDefault,
                         int group_digits = kTristateDefault,
                         const Locale& locale = Locale::Active());

// The platform's Format for the patterns the documents use: numeric
// patterns built of "#", "0", "," and "." ("#,##0.00", "0.000", ...), the
// named formats "Short Date", "Long Date", "General Number", "Fixed",
// "Standard", "Percent" and date patterns of d/dd/m/mm/mmm/yy/yyyy/hh/nn/ss.
// A value that a numeric pattern cannot read is returned as CStr shows it;
// Null and Empty give "".
std::string Format(const Variant& value, const std::string& pattern,
                   const Locale& locale = Locale::Active());

}  // namespace vb
