#include "platform/script/string_builtins.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Variant;
using vb::VarType;

// The last `needle` wholly inside `haystack`: a forward search of both
// reversed, which keeps it linear too.
size_t FindLast(std::string_view haystack, std::string_view needle) {
  const std::string reversed_haystack(haystack.rbegin(), haystack.rend());
  const std::string reversed_needle(needle.rbegin(), needle.rend());
  const size_t hit = Find(reversed_haystack, reversed_needle, 0);
  if (hit == std::string::npos) return hit;
  return haystack.size() - hit - needle.size();
}

Variant Position(size_t index) { return Variant(static_cast<int32_t>(index + 1)); }

Variant Len(const Args& args) {
  if (args[0].IsNull()) return Variant::Null();
  std::string scratch;
  return Variant(static_cast<int32_t>(TextOf(args[0], scratch).size()));
}

// Left and Right check the length before passing a Null text through.
int32_t LengthArg(const Variant& value) {
  const int32_t length = LongArg(value);
  if (length < 0) InvalidCall();
  return length;
}

Variant Left(const Args& args) {
  const size_t length = static_cast<size_t>(LengthArg(args[1]));
  if (args[0].IsNull()) return Variant::Null();
  std::string scratch;
  return TextResult(TextOf(args[0], scratch).substr(0, length), args.Budget());
}

Variant Right(const Args& args) {
  const size_t length = static_cast<size_t>(LengthArg(args[1]));
  if (args[0].IsNull()) return Variant::Null();
  std::string scratch;
  const std::string& text = TextOf(args[0], scratch);
  return TextResult(text.substr(text.size() - std::min(text.size(), length)), args.Budget());
}

// Null in the start or the length raises 94 before either is converted;
// a Null text gives Null only once both are valid.
Variant Mid(const Args& args) {
  RejectNull(args[1]);
  if (args.Given(2)) RejectNull(args[2]);
  const int32_t start = vb::CLng(args[1]);
  std::optional<int32_t> length;
  if (args.Given(2)) length = vb::CLng(args[2]);
  if (start < 1 || (length && *length < 0)) InvalidCall();
  if (args[0].IsNull()) return Variant::Null();
  std::string scratch;
  const std::string& text = TextOf(args[0], scratch);
  const size_t from = static_cast<size_t>(start) - 1;
  if (from >= text.size()) return TextResult({}, args.Budget());
  return TextResult(text.substr(from, length ? static_cast<size_t>(*length) : std::string::npos),
                    args.Budget());
}

// InStr([start,] text, sought[, compare]): with three or four arguments the
// first is the start.
Variant InStr(const Args& args) {
  const bool has_start = args.size() > 2;
  const int32_t start = has_start ? OptionalLong(args, 0, 1) : 1;
  const bool text_compare = TextCompareArg(args, 3);
  if (start < 1) InvalidCall();
  const Variant& searched = args[has_start ? 1 : 0];
  const Variant& sought = args[has_start ? 2 : 1];
  if (searched.IsNull() || sought.IsNull()) return Variant::Null();
  std::string scratch_haystack;
  std::string scratch_needle;
  std::string_view haystack = TextOf(searched, scratch_haystack);
  std::string_view needle = TextOf(sought, scratch_needle);
  const size_t from = static_cast<size_t>(start) - 1;
  if (haystack.empty() || from >= haystack.size()) return Variant(0);
  if (needle.empty()) return Variant(start);
  std::string folded_haystack;
  std::string folded_needle;
  if (text_compare) {
    folded_haystack = Folded(haystack);
    folded_needle = Folded(needle);
    haystack = folded_haystack;
    needle = folded_needle;
  }
  const size_t hit = Find(haystack, needle, from);
  return hit == std::string::npos ? Variant(0) : Position(hit);
}

// InStrRev(text, sought[, start[, compare]]): the last match ending at or
// before `start` (-1, the default, is the end). Null text raises 94.
Variant InStrRev(const Args& args) {
  RejectNull(args[0]);
  RejectNull(args[1]);
  int32_t start = OptionalLong(args, 2, -1);
  const bool text_compare = TextCompareArg(args, 3);
  if (start == 0 || start < -1) InvalidCall();
  std::string scratch_haystack;
  std::string scratch_needle;
  const std::string& haystack = TextOf(args[0], scratch_haystack);
  const std::string& needle = TextOf(args[1], scratch_needle);
  if (start == -1) start = static_cast<int32_t>(haystack.size());
  if (haystack.empty() || static_cast<size_t>(start) > haystack.size()) return Variant(0);
  if (needle.empty()) return Variant(start);
  const std::string_view region(haystack.data(), static_cast<size_t>(start));
  const size_t hit =
      text_compare ? FindLast(Folded(region), Folded(needle)) : FindLast(region, needle);
  return hit == std::string::npos ? Variant(0) : Position(hit);
}

// Replace(text, find, with[, start[, count[, compare]]]): the result starts
// at `start`, as the language defines it. Every argument refuses Null.
Variant Replace(const Args& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args.Given(i)) RejectNull(args[i]);
  }
  const int32_t start = OptionalLong(args, 3, 1);
  const int32_t count = OptionalLong(args, 4, -1);
  const bool text_compare = TextCompareArg(args, 5);
  if (start < 1 || count < -1) InvalidCall();
  std::string scratch[3];
  const std::string& whole = TextOf(args[0], scratch[0]);
  const std::string& find = TextOf(args[1], scratch[1]);
  const std::string& with = TextOf(args[2], scratch[2]);
  StringBudget& budget = args.Budget();
  const size_t from = static_cast<size_t>(start) - 1;
  if (from >= whole.size()) return TextResult({}, budget);
  const std::string_view text = std::string_view(whole).substr(from);
  if (find.empty() || count == 0) return TextResult(std::string(text), budget);
  const std::string folded_text = text_compare ? Folded(text) : std::string();
  const std::string folded_find = text_compare ? Folded(find) : std::string();
  const std::string_view haystack = text_compare ? std::string_view(folded_text) : text;
  const std::string_view needle = text_compare ? std::string_view(folded_find) : find;
  std::string result;
  size_t position = 0;
  for (int32_t done = 0; count < 0 || done < count; ++done) {
    const size_t hit = Find(haystack, needle, position);
    if (hit == std::string::npos) break;
    budget.Charge(hit - position + with.size());
    result.append(text.substr(position, hit - position)).append(with);
    position = hit + find.size();
  }
  budget.Charge(text.size() - position);
  result.append(text.substr(position));
  return Variant(std::move(result));
}

template <class Transform>
Variant MapText(const Args& args, Transform transform) {
  if (args[0].IsNull()) return Variant::Null();
  std::string scratch;
  return TextResult(transform(std::string(TextOf(args[0], scratch))), args.Budget());
}

Variant UCase(const Args& args) {
  return MapText(args, [](std::string text) {
    for (char& c : text) c = UpperAscii(c);
    return text;
  });
}

Variant LCase(const Args& args) {
  return MapText(args, [](std::string text) { return Folded(text); });
}

// The language's Trim functions remove spaces only, not tabs.
std::string TrimSpaces(const std::string& text, bool left, bool right) {
  size_t first = 0;
  size_t last = text.size();
  while (left && first < last && text[first] == ' ') ++first;
  while (right && last > first && text[last - 1] == ' ') --last;
  return text.substr(first, last - first);
}

Variant Trim(const Args& args) {
  return MapText(args, [](const std::string& t) { return TrimSpaces(t, true, true); });
}
Variant LTrim(const Args& args) {
  return MapText(args, [](const std::string& t) { return TrimSpaces(t, true, false); });
}
Variant RTrim(const Args& args) {
  return MapText(args, [](const std::string& t) { return TrimSpaces(t, false, true); });
}

Variant StrReverse(const Args& args) {
  RejectNull(args[0]);
  std::string scratch;
  const std::string& text = TextOf(args[0], scratch);
  return TextResult(std::string(text.rbegin(), text.rend()), args.Budget());
}

// Space and String charge their length before building anything, so a
// huge count fails with 7 instead of allocating.
Variant Repeated(int32_t count, char fill, StringBudget& budget) {
  if (count < 0) InvalidCall();
  budget.Charge(static_cast<size_t>(count));
  return Variant(std::string(static_cast<size_t>(count), fill));
}

Variant Space(const Args& args) { return Repeated(LongArg(args[0]), ' ', args.Budget()); }

// String(count, character): the first character of a text, or a character
// code taken modulo 256. Null in either gives Null.
Variant String(const Args& args) {
  if (args[0].IsNull() || args[1].IsNull()) return Variant::Null();
  const int32_t count = vb::CLng(args[0]);
  char fill;
  if (const std::string* text = args[1].get_if<std::string>()) {
    if (text->empty()) InvalidCall();
    fill = (*text)[0];
  } else {
    const int32_t code = vb::CLng(args[1]);
    if (code < 0) InvalidCall();
    fill = static_cast<char>(code % 256);
  }
  return Repeated(count, fill, args.Budget());
}

Variant StrComp(const Args& args) {
  const bool text_compare = TextCompareArg(args, 2);
  if (args[0].IsNull() || args[1].IsNull()) return Variant::Null();
  std::string scratch[2];
  const std::string& a = TextOf(args[0], scratch[0]);
  const std::string& b = TextOf(args[1], scratch[1]);
  const int order = text_compare ? Folded(a).compare(Folded(b)) : a.compare(b);
  return Variant::Integer(static_cast<int16_t>((order > 0) - (order < 0)));
}

Variant Asc(const Args& args) {
  RejectNull(args[0]);
  std::string scratch;
  const std::string& text = TextOf(args[0], scratch);
  if (text.empty()) InvalidCall();
  return Variant::Integer(static_cast<unsigned char>(text[0]));
}

Variant Chr(const Args& args) {
  const int32_t code = LongArg(args[0]);
  if (code < 0 || code > 255) InvalidCall();
  return TextResult(std::string(1, static_cast<char>(code)), args.Budget());
}

// Hex and Oct show Integer-sized values in 16 bits, others in 32.
Variant Radix(const Args& args, int base) {
  const Variant& value = args[0];
  if (value.IsNull()) return Variant::Null();
  uint32_t bits;
  switch (value.type()) {
    case VarType::Empty: bits = 0; break;
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer: bits = static_cast<uint16_t>(vb::CInt(value)); break;
    default: bits = static_cast<uint32_t>(vb::CLng(value)); break;
  }
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, bits, base);
  std::string text(buffer, result.ptr);
  for (char& c : text) c = UpperAscii(c);
  return TextResult(std::move(text), args.Budget());
}

Variant Hex(const Args& args) { return Radix(args, 16); }
Variant Oct(const Args& args) { return Radix(args, 8); }

constexpr Builtin kTable[] = {
    {"Asc", 1, 1, &Asc},         {"Chr", 1, 1, &Chr},           {"Hex", 1, 1, &Hex},
    {"InStr", 2, 4, &InStr},     {"InStrRev", 2, 4, &InStrRev}, {"LCase", 1, 1, &LCase},
    {"Left", 2, 2, &Left},       {"Len", 1, 1, &Len},           {"LTrim", 1, 1, &LTrim},
    {"Mid", 2, 3, &Mid},         {"Oct", 1, 1, &Oct},           {"Replace", 3, 6, &Replace},
    {"Right", 2, 2, &Right},     {"RTrim", 1, 1, &RTrim},       {"Space", 1, 1, &Space},
    {"StrComp", 2, 3, &StrComp}, {"String", 2, 2, &String},     {"StrReverse", 1, 1, &StrReverse},
    {"Trim", 1, 1, &Trim},       {"UCase", 1, 1, &UCase},
};

}  // namespace

BuiltinTable StringBuiltins() { return kTable; }

}  // namespace kvt::script
