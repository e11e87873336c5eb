#include "services/control_settings.h"

#include <cstdio>

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/connection_text.h"

namespace kvt::services {

namespace {
constexpr char kSource[] = "ControlSettings";
}  // namespace

void ControlSettings::Connect(const std::string& connection_text) {
  const ConnectionText parsed = ParseConnectionText(connection_text);
  connection_ = OpenConnection(parsed);
  user_id_ = parsed.user_id;
}

std::string ControlSettings::ReadValue(
    const std::string& sql, const std::vector<vb::Variant>& parameters) {
  if (!connection_) {
    throw vb::Error(vb::err::kAdoObjectClosed, kSource,
                    "Operation is not allowed when the object is closed.");
  }
  data::RecordSetRef rows = connection_->Query(sql, parameters);
  if (rows->IsEOF()) return {};
  const vb::Variant value = rows->Item(0).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

std::string ControlSettings::ReadCompanyControlValue(
    const std::string& control_kind, const std::string& control_name,
    int16_t control_index, int32_t company_id) {
  return ReadValue(
      "SELECT ControlValue FROM CompanyControlValues "
      "WHERE CompanyID = ?1 AND ControlKind = ?2 COLLATE NOCASE "
      "AND ControlName = ?3 COLLATE NOCASE AND ControlIndex = ?4 "
      "LIMIT 1",
      {vb::Variant(company_id), vb::Variant(control_kind),
       vb::Variant(control_name),
       vb::Variant(static_cast<int32_t>(control_index))});
}

std::string ControlSettings::ReadControlValue(const std::string& control_kind,
                                              const std::string& control_name,
                                              int16_t control_index,
                                              const std::string& database) {
  // The user's own value wins over the one saved for all users.
  return ReadValue(
      "SELECT ControlValue FROM UserControlValues "
      "WHERE DatabaseName = ?1 COLLATE NOCASE AND ControlKind = ?2 COLLATE "
      "NOCASE AND ControlName = ?3 COLLATE NOCASE AND ControlIndex = ?4 "
      "AND UserName IN (?5, '') ORDER BY UserName = ?5 DESC LIMIT 1",
      {vb::Variant(database), vb::Variant(control_kind),
       vb::Variant(control_name),
       vb::Variant(static_cast<int32_t>(control_index)),
       vb::Variant(user_id_)});
}

std::string ControlSettings::PeriodKey(int32_t month, int32_t year_key) {
  if (month < 1 || month > 12 || year_key < 0 || year_key > 99999999) {
    throw vb::Error::InvalidCall(kSource);
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08d%02d", static_cast<int>(year_key),
                static_cast<int>(month));
  return buffer;
}

}  // namespace kvt::services
