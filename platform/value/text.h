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

}  // namespace vb
