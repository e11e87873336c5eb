#include "platform/script/type_builtins.h"

#include "platform/script/date_values.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Variant;

Variant TypeName(const Args& args) { return TextResult(args[0].TypeName(), args.Budget()); }

Variant VarType(const Args& args) { return Variant::Integer(static_cast<int16_t>(args[0].type())); }

Variant IsNumeric(const Args& args) { return Variant(vb::IsNumeric(args[0])); }
Variant IsEmpty(const Args& args) { return Variant(args[0].IsEmpty()); }
Variant IsNull(const Args& args) { return Variant(args[0].IsNull()); }
Variant IsObject(const Args& args) { return Variant(args[0].IsObject()); }

// A Date, or text that reads as a date or a time of day; numbers are not
// dates even though CDate takes them.
Variant IsDate(const Args& args) {
  const Variant& value = args[0];
  if (value.type() == vb::VarType::Date) return Variant(true);
  const std::string* text = value.get_if<std::string>();
  if (text == nullptr) return Variant(false);
  return Variant(ParseTimeOfDay(*text).has_value() ||
                 vb::Date::Parse(*text, vb::Locale::Active()).has_value());
}

constexpr Builtin kTable[] = {
    {"IsDate", 1, 1, &IsDate},       {"IsEmpty", 1, 1, &IsEmpty},   {"IsNull", 1, 1, &IsNull},
    {"IsNumeric", 1, 1, &IsNumeric}, {"IsObject", 1, 1, &IsObject}, {"TypeName", 1, 1, &TypeName},
    {"VarType", 1, 1, &VarType},
};

}  // namespace

BuiltinTable TypeBuiltins() { return kTable; }

}  // namespace kvt::script
