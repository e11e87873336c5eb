#include "platform/script/script_constants.h"

#include <algorithm>
#include <vector>

#include "platform/script/builtin_support.h"
#include "platform/value/error.h"

namespace kvt::script {
namespace {

struct Constant {
  std::string_view name;
  vb::Variant value;
};

vb::Variant Integer(int16_t value) { return vb::Variant::Integer(value); }

std::vector<Constant> SortedConstants() {
  // clang-format off
  std::vector<Constant> constants = {
      {"vbSunday", Integer(1)},          {"vbMonday", Integer(2)},
      {"vbTuesday", Integer(3)},         {"vbWednesday", Integer(4)},
      {"vbThursday", Integer(5)},        {"vbFriday", Integer(6)},
      {"vbSaturday", Integer(7)},        {"vbUseSystemDayOfWeek", Integer(0)},
      {"vbUseSystem", Integer(0)},       {"vbFirstJan1", Integer(1)},
      {"vbFirstFourDays", Integer(2)},   {"vbFirstFullWeek", Integer(3)},
      {"vbBinaryCompare", Integer(0)},   {"vbTextCompare", Integer(1)},
      {"vbDatabaseCompare", Integer(2)}, {"vbGeneralDate", Integer(0)},
      {"vbLongDate", Integer(1)},        {"vbShortDate", Integer(2)},
      {"vbLongTime", Integer(3)},        {"vbShortTime", Integer(4)},
      {"vbTrue", Integer(-1)},           {"vbFalse", Integer(0)},
      {"vbUseDefault", Integer(-2)},     {"vbEmpty", Integer(0)},
      {"vbNull", Integer(1)},            {"vbInteger", Integer(2)},
      {"vbLong", Integer(3)},            {"vbSingle", Integer(4)},
      {"vbDouble", Integer(5)},          {"vbCurrency", Integer(6)},
      {"vbDate", Integer(7)},            {"vbString", Integer(8)},
      {"vbObject", Integer(9)},          {"vbError", Integer(10)},
      {"vbBoolean", Integer(11)},        {"vbVariant", Integer(12)},
      {"vbDataObject", Integer(13)},     {"vbDecimal", Integer(14)},
      {"vbByte", Integer(17)},           {"vbArray", Integer(8192)},
      {"vbCr", vb::Variant("\r")},       {"vbLf", vb::Variant("\n")},
      {"vbCrLf", vb::Variant("\r\n")},   {"vbNewLine", vb::Variant("\r\n")},
      {"vbTab", vb::Variant("\t")},      {"vbFormFeed", vb::Variant("\f")},
      {"vbVerticalTab", vb::Variant("\v")},
      {"vbNullString", vb::Variant("")},
      {"vbNullChar", vb::Variant(std::string(1, '\0'))},
      {"vbObjectError", vb::Variant(vb::vbObjectError)},
  };
  // clang-format on
  std::sort(constants.begin(), constants.end(),
            [](const Constant& a, const Constant& b) { return Folded(a.name) < Folded(b.name); });
  return constants;
}

}  // namespace

const vb::Variant* FindConstant(std::string_view name) {
  // Every constant begins with "vb"; most names a formula reads do not.
  if (name.size() < 3 || LowerAscii(name[0]) != 'v' || LowerAscii(name[1]) != 'b') {
    return nullptr;
  }
  static const std::vector<Constant> constants = SortedConstants();
  const std::string key = Folded(name);
  const auto it = std::lower_bound(
      constants.begin(), constants.end(), key,
      [](const Constant& entry, const std::string& wanted) { return Folded(entry.name) < wanted; });
  if (it == constants.end() || !SameName(it->name, name)) return nullptr;
  return &it->value;
}

}  // namespace kvt::script
