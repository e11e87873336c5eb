#include "services/control_settings.h"

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "services/connection_text.h"

namespace kvt::services {

namespace {

constexpr char kSource[] = "ControlSettings";

[[noreturn]] void RefusePeriod(const std::string& description, const std::string& context) {
  throw vb::Error(vb::err::kInvalidCall, kSource, description, context);
}

}  // namespace

void ControlSettings::Connect(const std::string& connection_text) {
  const ConnectionText parsed = ParseConnectionText(connection_text);
  connection_ = OpenConnection(parsed);
  user_id_ = parsed.user_id;
}

data::Connection& ControlSettings::Connected() {
  if (!connection_) {
    throw vb::Error(vb::err::kAdoObjectClosed, kSource,
                    "Operation is not allowed when the object is closed.");
  }
  return *connection_;
}

std::string ControlSettings::ReadValue(const std::string& sql,
                                       const std::vector<vb::Variant>& parameters) {
  data::RecordSetRef rows = Connected().Query(sql, parameters);
  if (rows->IsEOF()) return {};
  const vb::Variant value = rows->Item(0).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

std::string ControlSettings::ReadCompanyControlValue(const std::string& control_kind,
                                                     const std::string& control_name,
                                                     int16_t control_index, int32_t company_id) {
  return ReadValue(
      "SELECT ControlValue FROM CompanyControlValues "
      "WHERE CompanyID = ?1 AND ControlKind = ?2 COLLATE NOCASE "
      "AND ControlName = ?3 COLLATE NOCASE AND ControlIndex = ?4 "
      "LIMIT 1",
      {vb::Variant(company_id), vb::Variant(control_kind), vb::Variant(control_name),
       vb::Variant(static_cast<int32_t>(control_index))});
}

std::string ControlSettings::ReadControlValue(const std::string& control_kind,
                                              const std::string& control_name,
                                              int16_t control_index, const std::string& database) {
  // The user's own value wins over the one saved for all users (named '',
  // so last in descending order: the index gives that order without a sort).
  return ReadValue(
      "SELECT ControlValue FROM UserControlValues "
      "WHERE DatabaseName = ?1 COLLATE NOCASE AND ControlKind = ?2 COLLATE "
      "NOCASE AND ControlName = ?3 COLLATE NOCASE AND ControlIndex = ?4 "
      "AND UserName IN (?5, '') ORDER BY UserName DESC LIMIT 1",
      {vb::Variant(database), vb::Variant(control_kind), vb::Variant(control_name),
       vb::Variant(static_cast<int32_t>(control_index)), vb::Variant(user_id_)});
}

std::string ControlSettings::PeriodKey(int32_t month, int32_t year_key) {
  data::RecordSetRef years =
      Connected().Query("SELECT Years FROM Years WHERE ID = ?1", {vb::Variant(year_key)});
  if (years->IsEOF() || years->Item(0).IsNull()) {
    RefusePeriod("The year key is not in the years table.", "year key " + std::to_string(year_key));
  }
  return PeriodKeyOfYear(month, vb::CLng(years->Item(0).Value()));
}

std::string ControlSettings::PeriodKeyOfYear(int32_t month, int32_t calendar_year) {
  if (month < 1 || month > 12) {
    RefusePeriod("An accounting period's month must be 1 to 12.", "month " + std::to_string(month));
  }
  if (calendar_year < 1 || calendar_year > 99999999) {
    RefusePeriod("An accounting period's year is out of range.",
                 "year " + std::to_string(calendar_year));
  }
  return vb::ZeroPadded(calendar_year, 8) + vb::ZeroPadded(month, 2);
}

}  // namespace kvt::services
