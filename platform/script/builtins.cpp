#include "platform/script/builtins.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/script/operators.h"
#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Currency;
using vb::Variant;
using vb::VarType;
using Args = std::span<const Variant>;

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

[[noreturn]] void InvalidCall() { throw RuntimeError(vb::err::kInvalidCall); }

int32_t LongArg(const Variant& value) {
  if (value.IsNull()) throw RuntimeError(vb::err::kInvalidUseOfNull);
  return vb::CLng(value);
}

std::string Text(const Variant& value) {
  if (const std::string* text = value.get_if<std::string>()) return *text;
  return vb::CStr(value);
}

Variant Real(double value) {
  if (!std::isfinite(value)) throw RuntimeError(vb::err::kOverflow);
  return Variant(value);
}

// Shared shape of Abs, Int and Fix: whole subtypes keep their subtype
// (widening where the result leaves it), text becomes a Double.
template <class WholeOp, class RealOp, class MoneyOp>
Variant NumericKeepingType(const Variant& value, WholeOp whole, RealOp real, MoneyOp money) {
  switch (value.type()) {
    case VarType::Null: return Variant::Null();
    case VarType::Empty: return Variant::Integer(0);
    case VarType::Boolean: {
      const int64_t result = whole(*value.get_if<bool>() ? -1 : 0);
      return Variant::Integer(static_cast<int16_t>(result));
    }
    case VarType::Byte: return Variant::Byte(static_cast<uint8_t>(whole(*value.get_if<uint8_t>())));
    case VarType::Integer: {
      const int64_t result = whole(*value.get_if<int16_t>());
      if (result > INT16_MAX) return Variant(static_cast<int32_t>(result));
      return Variant::Integer(static_cast<int16_t>(result));
    }
    case VarType::Long: {
      const int64_t result = whole(*value.get_if<int32_t>());
      if (result > INT32_MAX) return Variant(static_cast<double>(result));
      return Variant(static_cast<int32_t>(result));
    }
    case VarType::Single: return Variant(static_cast<float>(real(*value.get_if<float>())));
    case VarType::Currency: return Variant(money(*value.get_if<Currency>()));
    default: return Real(real(vb::CDbl(value)));
  }
}

Variant Abs(Args args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v < 0 ? -v : v; }, [](double v) { return std::fabs(v); },
      [](Currency c) {
        if (c == Currency::Min()) throw RuntimeError(vb::err::kOverflow);
        return c < Currency() ? -c : c;
      });
}

Currency FloorCurrency(Currency c, bool toward_zero) {
  int64_t units = c.raw() / Currency::kScale;
  if (!toward_zero && c.raw() % Currency::kScale < 0) --units;
  return Currency::FromInt(units);
}

Variant Int(Args args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v; }, [](double v) { return std::floor(v); },
      [](Currency c) { return FloorCurrency(c, false); });
}

Variant Fix(Args args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v; }, [](double v) { return std::trunc(v); },
      [](Currency c) { return FloorCurrency(c, true); });
}

// Round works on the double as stored, through the platform's one
// half-to-even rounding: 0.125 is held exactly and rounds to 0.12, while
// 2.675 is held as 2.67499999... and rounds to 2.67. Currency rounds on its
// exact ten-thousandths.
Variant Round(Args args) {
  const int32_t digits = args.size() > 1 ? LongArg(args[1]) : 0;
  if (digits < 0) InvalidCall();
  const Variant& value = args[0];
  if (value.get_if<Currency>() != nullptr) {
    const Currency money = *value.get_if<Currency>();
    if (digits >= 4) return value;
    // Exact on the ten-thousandths, ties to even.
    int64_t step = 1;
    for (int i = digits; i < 4; ++i) step *= 10;
    int64_t quotient = money.raw() / step;
    const int64_t rest = money.raw() % step;
    const int64_t twice = (rest < 0 ? -rest : rest) * 2;
    if (twice > step || (twice == step && quotient % 2 != 0)) quotient += rest < 0 ? -1 : 1;
    return Variant(Currency::FromRaw(quotient * step));
  }
  return NumericKeepingType(
      value, [](int64_t v) { return v; },
      [digits](double v) { return vb::RoundHalfEven(v, digits); }, [](Currency c) { return c; });
}

Variant Sgn(Args args) {
  if (const Currency* money = args[0].get_if<Currency>()) {
    return Variant::Integer(static_cast<int16_t>((money->raw() > 0) - (money->raw() < 0)));
  }
  const double value = vb::CDbl(args[0]);
  return Variant::Integer(static_cast<int16_t>((value > 0) - (value < 0)));
}

Variant Atn(Args args) { return Real(std::atan(vb::CDbl(args[0]))); }
Variant Cos(Args args) { return Real(std::cos(vb::CDbl(args[0]))); }
Variant Sin(Args args) { return Real(std::sin(vb::CDbl(args[0]))); }
Variant Tan(Args args) { return Real(std::tan(vb::CDbl(args[0]))); }
Variant Exp(Args args) { return Real(std::exp(vb::CDbl(args[0]))); }

Variant Log(Args args) {
  const double value = vb::CDbl(args[0]);
  if (value <= 0) InvalidCall();
  return Real(std::log(value));
}

Variant Sqr(Args args) {
  const double value = vb::CDbl(args[0]);
  if (value < 0) InvalidCall();
  return Real(std::sqrt(value));
}

Variant CBool(Args args) { return Variant(vb::CBool(args[0])); }
Variant CByte(Args args) { return Variant::Byte(vb::CByte(args[0])); }
Variant CCur(Args args) { return Variant(vb::CCur(args[0])); }
Variant CDbl(Args args) { return Variant(vb::CDbl(args[0])); }
Variant CInt(Args args) { return Variant::Integer(vb::CInt(args[0])); }
Variant CLng(Args args) { return Variant(vb::CLng(args[0])); }
Variant CSng(Args args) { return Variant(vb::CSng(args[0])); }
Variant CStr(Args args) { return Variant(vb::CStr(args[0])); }

// Hex and Oct show Integer-sized values in 16 bits, others in 32.
Variant Radix(const Variant& value, int base) {
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
  auto result = std::to_chars(buffer, buffer + sizeof buffer, bits, base);
  std::string text(buffer, result.ptr);
  for (char& c : text) c = UpperAscii(c);
  return Variant(std::move(text));
}

Variant Hex(Args args) { return Radix(args[0], 16); }
Variant Oct(Args args) { return Radix(args[0], 8); }

Variant IsNumeric(Args args) { return Variant(vb::IsNumeric(args[0])); }
Variant IsEmpty(Args args) { return Variant(args[0].IsEmpty()); }
Variant IsNull(Args args) { return Variant(args[0].IsNull()); }

Variant Len(Args args) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant(static_cast<int32_t>(Text(args[0]).size()));
}

Variant Left(Args args) {
  const int32_t length = LongArg(args[1]);
  if (length < 0) InvalidCall();
  if (args[0].IsNull()) return Variant::Null();
  return Variant(Text(args[0]).substr(0, static_cast<size_t>(length)));
}

Variant Right(Args args) {
  const int32_t length = LongArg(args[1]);
  if (length < 0) InvalidCall();
  if (args[0].IsNull()) return Variant::Null();
  const std::string text = Text(args[0]);
  const size_t keep = std::min(text.size(), static_cast<size_t>(length));
  return Variant(text.substr(text.size() - keep));
}

Variant Mid(Args args) {
  const int32_t start = LongArg(args[1]);
  if (start < 1) InvalidCall();
  int32_t length = -1;
  if (args.size() > 2) {
    length = LongArg(args[2]);
    if (length < 0) InvalidCall();
  }
  if (args[0].IsNull()) return Variant::Null();
  const std::string text = Text(args[0]);
  const size_t from = static_cast<size_t>(start) - 1;
  if (from >= text.size()) return Variant(std::string());
  return Variant(length < 0 ? text.substr(from) : text.substr(from, static_cast<size_t>(length)));
}

template <class Transform>
Variant MapText(const Variant& value, Transform transform) {
  if (value.IsNull()) return Variant::Null();
  return Variant(transform(Text(value)));
}

Variant UCase(Args args) {
  return MapText(args[0], [](std::string text) {
    for (char& c : text) c = UpperAscii(c);
    return text;
  });
}

Variant LCase(Args args) {
  return MapText(args[0], [](std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
  });
}

// The language's Trim functions remove spaces only, not tabs.
std::string TrimSpaces(const std::string& text, bool left, bool right) {
  size_t first = 0;
  size_t last = text.size();
  if (left) {
    while (first < last && text[first] == ' ') ++first;
  }
  if (right) {
    while (last > first && text[last - 1] == ' ') --last;
  }
  return text.substr(first, last - first);
}

Variant Trim(Args args) {
  return MapText(args[0], [](const std::string& t) { return TrimSpaces(t, true, true); });
}
Variant LTrim(Args args) {
  return MapText(args[0], [](const std::string& t) { return TrimSpaces(t, true, false); });
}
Variant RTrim(Args args) {
  return MapText(args[0], [](const std::string& t) { return TrimSpaces(t, false, true); });
}

// vbBinaryCompare (0) or vbTextCompare (1).
bool TextCompareArg(const Variant& value) {
  const int32_t compare = LongArg(value);
  if (compare != 0 && compare != 1) InvalidCall();
  return compare == 1;
}

std::string Folded(std::string text) {
  for (char& c : text) c = LowerAscii(c);
  return text;
}

// memmem is linear in the worst case, so a hostile pattern cannot make a
// search quadratic.
size_t Find(const std::string& haystack, const std::string& needle, size_t from) {
  if (from > haystack.size()) return std::string::npos;
  const void* hit = memmem(haystack.data() + from, haystack.size() - from, needle.data(),
                           needle.size());
  if (hit == nullptr) return std::string::npos;
  return static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
}

Variant InStr(Args args) {
  size_t first = 0;
  int32_t start = 1;
  if (args.size() > 2) {
    start = LongArg(args[0]);
    if (start < 1) InvalidCall();
    first = 1;
  }
  const bool text_compare = args.size() > 3 && TextCompareArg(args[3]);
  const Variant& searched = args[first];
  const Variant& sought = args[first + 1];
  if (searched.IsNull() || sought.IsNull()) return Variant::Null();
  std::string haystack = Text(searched);
  std::string needle = Text(sought);
  const size_t from = static_cast<size_t>(start) - 1;
  if (from > haystack.size()) return Variant(0);
  if (needle.empty()) return Variant(start);
  if (text_compare) {
    haystack = Folded(std::move(haystack));
    needle = Folded(std::move(needle));
  }
  const size_t hit = Find(haystack, needle, from);
  return Variant(hit == std::string::npos ? 0 : static_cast<int32_t>(hit + 1));
}

Variant Replace(Args args) {
  for (size_t i = 0; i < 3; ++i) {
    if (args[i].IsNull()) throw RuntimeError(vb::err::kInvalidUseOfNull);
  }
  const int32_t start = args.size() > 3 ? LongArg(args[3]) : 1;
  if (start < 1) InvalidCall();
  const int32_t count = args.size() > 4 ? LongArg(args[4]) : -1;
  if (count < -1) InvalidCall();
  const bool text_compare = args.size() > 5 && TextCompareArg(args[5]);
  const std::string whole = Text(args[0]);
  const std::string find = Text(args[1]);
  const std::string with = Text(args[2]);
  // The result begins at `start`, as the language defines Replace.
  const size_t from = static_cast<size_t>(start) - 1;
  if (from >= whole.size()) return Variant(std::string());
  const std::string text = whole.substr(from);
  if (find.empty() || count == 0) return Variant(text);
  const std::string haystack = text_compare ? Folded(text) : text;
  const std::string needle = text_compare ? Folded(find) : find;
  std::string result;
  size_t position = 0;
  int32_t done = 0;
  while (count < 0 || done < count) {
    const size_t hit = Find(haystack, needle, position);
    if (hit == std::string::npos) break;
    CheckStringLength(result.size() + (hit - position) + with.size());
    result.append(text, position, hit - position).append(with);
    position = hit + find.size();
    ++done;
  }
  CheckStringLength(result.size() + text.size() - position);
  result.append(text, position, std::string::npos);
  return Variant(std::move(result));
}

Variant Space(Args args) {
  const int32_t length = LongArg(args[0]);
  if (length < 0) InvalidCall();
  CheckStringLength(static_cast<size_t>(length));
  return Variant(std::string(static_cast<size_t>(length), ' '));
}

Variant String(Args args) {
  if (args[0].IsNull() || args[1].IsNull()) return Variant::Null();
  const int32_t length = vb::CLng(args[0]);
  if (length < 0) InvalidCall();
  char fill;
  if (const std::string* text = args[1].get_if<std::string>()) {
    if (text->empty()) InvalidCall();
    fill = (*text)[0];
  } else {
    const int32_t code = vb::CLng(args[1]);
    if (code < 0) InvalidCall();
    fill = static_cast<char>(code % 256);
  }
  CheckStringLength(static_cast<size_t>(length));
  return Variant(std::string(static_cast<size_t>(length), fill));
}

bool NameLess(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const char x = UpperAscii(a[i]);
    const char y = UpperAscii(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

const auto& Table() {
  static const auto table = [] {
    std::array<Builtin, 38> entries{{
        {"ABS", 1, 1, &Abs},         {"ATN", 1, 1, &Atn},         {"CBOOL", 1, 1, &CBool},
        {"CBYTE", 1, 1, &CByte},     {"CCUR", 1, 1, &CCur},       {"CDBL", 1, 1, &CDbl},
        {"CINT", 1, 1, &CInt},       {"CLNG", 1, 1, &CLng},       {"COS", 1, 1, &Cos},
        {"CSNG", 1, 1, &CSng},       {"CSTR", 1, 1, &CStr},       {"EXP", 1, 1, &Exp},
        {"FIX", 1, 1, &Fix},         {"HEX", 1, 1, &Hex},         {"INSTR", 2, 4, &InStr},
        {"INT", 1, 1, &Int},         {"ISEMPTY", 1, 1, &IsEmpty}, {"ISNULL", 1, 1, &IsNull},
        {"ISNUMERIC", 1, 1, &IsNumeric}, {"LCASE", 1, 1, &LCase}, {"LEFT", 2, 2, &Left},
        {"LEN", 1, 1, &Len},         {"LOG", 1, 1, &Log},         {"LTRIM", 1, 1, &LTrim},
        {"MID", 2, 3, &Mid},         {"OCT", 1, 1, &Oct},         {"REPLACE", 3, 6, &Replace},
        {"RIGHT", 2, 2, &Right},     {"ROUND", 1, 2, &Round},     {"RTRIM", 1, 1, &RTrim},
        {"SGN", 1, 1, &Sgn},         {"SIN", 1, 1, &Sin},         {"SPACE", 1, 1, &Space},
        {"SQR", 1, 1, &Sqr},         {"STRING", 2, 2, &String},   {"TAN", 1, 1, &Tan},
        {"TRIM", 1, 1, &Trim},       {"UCASE", 1, 1, &UCase},
    }};
    std::sort(entries.begin(), entries.end(),
              [](const Builtin& a, const Builtin& b) { return NameLess(a.name, b.name); });
    return entries;
  }();
  return table;
}

}  // namespace

const Builtin* FindBuiltin(std::string_view name) {
  const auto& table = Table();
  auto it = std::lower_bound(
      table.begin(), table.end(), name,
      [](const Builtin& entry, std::string_view key) { return NameLess(entry.name, key); });
  if (it == table.end() || NameLess(name, it->name)) return nullptr;
  return &*it;
}

bool IsObjectFactory(std::string_view name) {
  auto same = [name](std::string_view word) {
    return !NameLess(name, word) && !NameLess(word, name);
  };
  return same("CREATEOBJECT") || same("GETOBJECT");
}

}  // namespace kvt::script
