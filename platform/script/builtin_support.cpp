#include "platform/script/builtin_support.h"

#include <cmath>

#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {

void InvalidCall() { throw RuntimeError(vb::err::kInvalidCall); }

void RejectNull(const vb::Variant& value) {
  if (value.IsNull()) throw RuntimeError(vb::err::kInvalidUseOfNull);
}

int32_t LongArg(const vb::Variant& value) {
  RejectNull(value);
  return vb::CLng(value);
}

int32_t OptionalLong(const Args& args, size_t i, int32_t fallback) {
  return args.Given(i) ? LongArg(args[i]) : fallback;
}

bool TextCompareArg(const Args& args, size_t i) {
  const int32_t compare = OptionalLong(args, i, 0);
  if (compare != 0 && compare != 1) InvalidCall();
  return compare == 1;
}

const std::string& TextOf(const vb::Variant& value, std::string& scratch) {
  if (const std::string* text = value.get_if<std::string>()) return *text;
  scratch = vb::CStr(value);
  return scratch;
}

vb::Variant TextResult(std::string text, StringBudget& budget) {
  budget.Charge(text.size());
  return vb::Variant(std::move(text));
}

vb::Variant RealResult(double value) {
  if (!std::isfinite(value)) throw RuntimeError(vb::err::kOverflow);
  return vb::Variant(value);
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = LowerAscii(c);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

}  // namespace kvt::script
