#include "platform/script/builtin_support.h"

#include <cmath>
#include <cstring>

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

size_t Find(std::string_view haystack, std::string_view needle, size_t from) {
  if (from > haystack.size()) return std::string::npos;
  // memmem is linear in the worst case.
  const void* hit =
      memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  if (hit == nullptr) return std::string::npos;
  return static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
}

vb::Variant TextResult(std::string text, StringBudget& budget) {
  budget.Charge(text.size());
  return vb::Variant(std::move(text));
}

void ChargeArray(size_t count, StringBudget& budget) { budget.Charge(count * sizeof(vb::Variant)); }

vb::Variant RealResult(double value) {
  if (!std::isfinite(value)) throw RuntimeError(vb::err::kOverflow);
  return vb::Variant(value);
}

}  // namespace kvt::script
