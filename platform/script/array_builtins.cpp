#include "platform/script/array_builtins.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/script/script_error.h"
#include "platform/value/conversions.h"
#include "platform/value/variant_array.h"

namespace kvt::script {
namespace {

using vb::Variant;
using vb::VariantArray;

Variant ArrayValue(std::vector<Variant> elements) {
  return Variant(std::make_shared<const VariantArray>(std::move(elements)));
}

// The array argument of UBound, LBound, Join and Filter; 13 for anything
// else, Null included.
const VariantArray& ArrayArg(const Variant& value) {
  const VariantArray* array = value.array();
  if (array == nullptr) throw RuntimeError(vb::err::kTypeMismatch, value.TypeName());
  return *array;
}

// Join and Filter read one dimension only.
const VariantArray& ListArg(const Variant& value) {
  const VariantArray& array = ArrayArg(value);
  if (array.DimensionCount() != 1) InvalidCall();
  return array;
}

Variant MakeArray(const Args& args) {
  ChargeArray(args.size(), args.Budget());
  return ArrayValue(std::vector<Variant>(args.begin(), args.end()));
}

Variant IsArray(const Args& args) { return Variant(args[0].IsArray()); }

// UBound(array[, dimension]) and LBound: 9 for a dimension the array does
// not have.
const VariantArray::Bounds& BoundsArg(const Args& args) {
  const VariantArray& array = ArrayArg(args[0]);
  const int32_t dimension = OptionalLong(args, 1, 1);
  if (dimension < 1 || static_cast<size_t>(dimension) > array.DimensionCount()) {
    throw RuntimeError(vb::err::kSubscriptOutOfRange, "dimension " + std::to_string(dimension));
  }
  return array.Dimension(static_cast<size_t>(dimension) - 1);
}

Variant UBound(const Args& args) { return Variant(BoundsArg(args).upper); }
Variant LBound(const Args& args) { return Variant(BoundsArg(args).lower); }

// Join(list[, delimiter]): the elements as CStr shows them, a blank
// between them by default. Null, as an element or as the delimiter,
// raises 94; an array or object element 13.
Variant Join(const Args& args) {
  const VariantArray& list = ListArg(args[0]);
  std::string delimiter_scratch = " ";
  const std::string& delimiter =
      args.Given(1) ? TextOf(args[1], delimiter_scratch) : delimiter_scratch;
  std::vector<std::string> scratch(list.size());
  std::vector<const std::string*> parts(list.size());
  size_t total = list.size() > 1 ? (list.size() - 1) * delimiter.size() : 0;
  for (size_t i = 0; i < list.size(); ++i) {
    parts[i] = &TextOf(list.Elements()[i], scratch[i]);
    total += parts[i]->size();
  }
  args.Budget().Require(total);
  std::string text;
  text.reserve(total);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += delimiter;
    text += *parts[i];
  }
  return TextResult(std::move(text), args.Budget());
}

// `text` as searched: folded when the comparison ignores case (folding
// keeps the length, so positions hold in the original).
std::string_view Searched(const std::string& text, bool text_compare, std::string& folded) {
  if (!text_compare) return text;
  folded = Folded(text);
  return folded;
}

// Split(text[, delimiter[, count[, compare]]]): the pieces between the
// delimiters, at most `count` of them (-1, the default, for all), the last
// holding the rest. "" gives an empty array, an empty delimiter the whole
// text as the only element. Null text or delimiter raises 94.
Variant Split(const Args& args) {
  std::string text_scratch;
  const std::string& text = TextOf(args[0], text_scratch);
  std::string delimiter_scratch = " ";
  const std::string& delimiter =
      args.Given(1) ? TextOf(args[1], delimiter_scratch) : delimiter_scratch;
  const int32_t count = OptionalLong(args, 2, -1);
  if (count < -1) InvalidCall();
  const bool text_compare = TextCompareArg(args, 3);
  std::vector<size_t> starts;  // where each piece begins
  if (!text.empty() && count != 0) {
    starts.push_back(0);
    if (!delimiter.empty()) {
      std::string folded_text;
      std::string folded_delimiter;
      const std::string_view haystack = Searched(text, text_compare, folded_text);
      const std::string_view needle = Searched(delimiter, text_compare, folded_delimiter);
      size_t hit = Find(haystack, needle, 0);
      while (hit != std::string::npos &&
             (count == -1 || starts.size() < static_cast<size_t>(count))) {
        starts.push_back(hit + needle.size());
        hit = Find(haystack, needle, hit + needle.size());
      }
    }
  }
  ChargeArray(starts.size(), args.Budget());
  args.Budget().Charge(text.size());
  std::vector<Variant> pieces;
  pieces.reserve(starts.size());
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] - delimiter.size() : text.size();
    pieces.emplace_back(text.substr(starts[i], end - starts[i]));
  }
  return ArrayValue(std::move(pieces));
}

// Filter(list, value[, include[, compare]]): the elements, as text, that
// contain `value` (or, with include False, those that do not). An element
// or a value that is Null raises 94.
Variant Filter(const Args& args) {
  const VariantArray& list = ListArg(args[0]);
  std::string value_scratch;
  const std::string& value = TextOf(args[1], value_scratch);
  bool include = true;
  if (args.Given(2)) {
    RejectNull(args[2]);
    include = vb::CBool(args[2]);
  }
  const bool text_compare = TextCompareArg(args, 3);
  std::string folded_value;
  const std::string_view needle = Searched(value, text_compare, folded_value);
  std::vector<Variant> kept;
  size_t bytes = 0;
  for (const Variant& element : list.Elements()) {
    std::string scratch;
    std::string folded;
    const std::string& text = TextOf(element, scratch);
    const bool contains = needle.empty() || Find(Searched(text, text_compare, folded), needle, 0) !=
                                                std::string::npos;
    if (contains != include) continue;
    bytes += text.size();
    kept.emplace_back(text);
  }
  ChargeArray(kept.size(), args.Budget());
  args.Budget().Charge(bytes);
  return ArrayValue(std::move(kept));
}

constexpr Builtin kTable[] = {
    {"Array", 0, kAnyArgumentCount, &MakeArray},
    {"Filter", 2, 4, &Filter},
    {"IsArray", 1, 1, &IsArray},
    {"Join", 1, 2, &Join},
    {"LBound", 1, 2, &LBound},
    {"Split", 1, 4, &Split},
    {"UBound", 1, 2, &UBound},
};

}  // namespace

BuiltinTable ArrayBuiltins() { return kTable; }

}  // namespace kvt::script
