#include "component/mod_general.h"

#include <algorithm>
#include <string>

#include "platform/value/failure_style.h"
#include "component/mod_publics.h"
#include "platform/object/object.h"
#include "platform/value/conversions.h"
#include "platform/value/number_text.h"
#include "platform/data/record_set.h"
#include "platform/ui/data_combo.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace kvt::component {

namespace {

vb::Variant ShownText(const vb::Variant& text) {
  if (text.IsString() && text.get_if<std::string>()->empty()) {
    return vb::Variant::Integer(0);
  }
  return text;
}

}  // namespace

vb::Variant GetControlValue(const vb::Variant& control) {
  vb::Variant result;
  vb::PassOver([&] {
    const std::string type_name = control.TypeName();
    if (object::SameName(type_name, "TextBox")) {
      result = ShownText(object::GetProperty(control, "Text"));
    } else if (object::SameName(type_name, "Label")) {
      result = ShownText(object::GetProperty(control, "Caption"));
    }
  });
  return result;
}

vb::Variant ParseNumber(const vb::Variant& value) {
  // Numbers need not go through their text: whole numbers and Currency
  // print exactly, so reading their text back gives the value itself (the
  // line arithmetic runs this on every figure).
  switch (value.type()) {
    case vb::VarType::Byte:
    case vb::VarType::Integer:
    case vb::VarType::Long: return vb::CDbl(value);
    case vb::VarType::Currency: return value.get_if<vb::Currency>()->ToDouble();
    // A float's text is its value to 15 (or 7) digits: take that number
    // without printing and reading it.
    case vb::VarType::Double: return vb::detail::RoundToSignificant(*value.get_if<double>(), 15);
    case vb::VarType::Single: return vb::detail::RoundToSignificant(*value.get_if<float>(), 7);
    default: break;
  }
  if (!vb::IsNumeric(value)) return vb::Variant::Integer(0);
  std::string text = vb::CStr(value);
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  return vb::Val(text);
}

std::string FormatToDecimals(const vb::Variant& value, int32_t decimals) {
  // A Currency of at most 15 digits reads back as the double that prints as
  // its own digits, so it may be formatted as it is.
  constexpr int64_t kFifteenDigits = 1'000'000'000'000'000;
  if (const vb::Currency* money = value.get_if<vb::Currency>();
      money != nullptr && money->raw() > -kFifteenDigits && money->raw() < kFifteenDigits) {
    return ThreadStore().NumberFormat().FormatAmount(value, decimals, -1, 0, -1);
  }
  const vb::Variant number = ParseNumber(value);
  return ThreadStore().NumberFormat().FormatAmount(number, decimals, -1, 0, -1);
}

std::string FormatTwoDecimals(const vb::Variant& value) { return FormatToDecimals(value, 2); }

void BindLookupList(ui::DataCombo& list, int formula_type) {
  Store& store = ThreadStore();
  data::RecordSetRef rows;
  vb::PassOver([&] {
    const std::string command = "sp_AO_Select_Order_Lups " + std::to_string(formula_type) + "," +
                                std::to_string(store.settings.company_id);
    services::DataGateway& gateway = store.DataGateway();
    data::ConnectionRef connection =
        gateway.OpenConnection(store.settings.connection_string, -1, 3);
    int32_t status = 0;
    rows = gateway.OpenRecordset(command, 1, 3, 3, connection, status);
  });
  vb::PassOver([&] { list.RowSource(rows); });
  vb::PassOver([&] {
    if (!rows) throw vb::Error::ObjectNotSet();
    list.ListField(rows->Fields().Item(1).Name());
  });
  vb::PassOver([&] {
    if (!rows) throw vb::Error::ObjectNotSet();
    list.BoundColumn(rows->Fields().Item(0).Name());
  });
}

}  // namespace kvt::component
