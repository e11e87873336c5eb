// The text helpers every layer uses, in one place: VB's trims and case
// changes, and the case-insensitive comparison of names. ASCII only and
// independent of the process locale (setlocale changes none of them).
#pragma once

#include <string>
#include <string_view>

namespace vb {

char UpperAscii(char c);
char LowerAscii(char c);
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

// VB's Trim, LTrim and RTrim: blanks only, not tabs or line breaks.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
// Blanks, tabs, carriage returns and line feeds.
std::string TrimWhitespace(std::string_view text);

// True when `a` and `b` are equal ignoring ASCII case.
bool SameText(std::string_view a, std::string_view b);

// `text` in double quotes, each double quote inside doubled: a quoted SQL
// name, or a quoted value of a "Key=Value;..." text.
std::string DoubleQuoted(std::string_view text);
// `text` as a value of a "Key=Value;..." text (a connection text): as it is,
// or DoubleQuoted when it holds ";" or a quote or has blanks around it.
std::string KeyValueText(std::string_view text);

}  // namespace vb
