#include "apps/kvt-host/serve/json_rows.h"

#include "platform/value/conversions.h"
#include "platform/value/locale.h"
#include "platform/value/number_text.h"

namespace kvt::serve {

nlohmann::json JsonValue(const vb::Variant& value, JsonKind kind) {
  if (value.IsNull() || value.IsEmpty()) return nullptr;
  // Database text is read under the invariant rules, never the host's.
  const vb::Locale invariant;
  switch (kind) {
    case JsonKind::kKey: return vb::CLng(value, invariant);
    case JsonKind::kQuantity: return vb::CDbl(value, invariant);
    case JsonKind::kMoney: return vb::CCur(value, invariant).ToDecimalText();
    case JsonKind::kDate: {
      const vb::Date date = vb::CDate(value, invariant);
      return vb::ZeroPadded(date.Year(), 4) + "-" + vb::ZeroPadded(date.Month(), 2) + "-" +
             vb::ZeroPadded(date.Day(), 2);
    }
    case JsonKind::kText: break;
  }
  return vb::CStr(value, invariant);
}

}  // namespace kvt::serve
