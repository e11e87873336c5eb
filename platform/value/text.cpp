#include "platform/value/text.h"

namespace vb {
namespace {

std::string_view Strip(std::string_view text, std::string_view blanks, bool left, bool right) {
  size_t begin = 0, end = text.size();
  if (left) {
    while (begin < end && blanks.find(text[begin]) != std::string_view::npos) ++begin;
  }
  if (right) {
    while (end > begin && blanks.find(text[end - 1]) != std::string_view::npos) --end;
  }
  return text.substr(begin, end - begin);
}

}  // namespace

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperAscii(c);
  return out;
}

std::string LCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

std::string Trim(std::string_view text) { return std::string(Strip(text, " ", true, true)); }
std::string LTrim(std::string_view text) { return std::string(Strip(text, " ", true, false)); }
std::string RTrim(std::string_view text) { return std::string(Strip(text, " ", false, true)); }
std::string TrimWhitespace(std::string_view text) {
  return std::string(Strip(text, " \t\r\n", true, true));
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string DoubleQuoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string KeyValueText(std::string_view text) {
  const bool plain =
      text.find_first_of(";\"'") == std::string_view::npos && TrimWhitespace(text) == text;
  return plain ? std::string(text) : DoubleQuoted(text);
}

}  // namespace vb
