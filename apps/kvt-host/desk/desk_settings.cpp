#include "apps/kvt-host/desk/desk_settings.h"

#include <vector>

#include "documents/purchase_order_printing.h"
#include "documents/voucher_printing.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"
#include "services/control_settings.h"

namespace kvt::host {
namespace {

struct CompanyCheck {
  const char* name;
  int16_t index;
  bool CompanySettings::*rule;
};

constexpr CompanyCheck kCompanyChecks[] = {
    {"chkAccountant", 0, &CompanySettings::prior_periods},
    {"chkAccountant", 1, &CompanySettings::future_periods},
    {"chkAutoAdvancePeriod", 1, &CompanySettings::auto_advance},
    {"chkPriorPeriodGRVPosting", 0, &CompanySettings::closed_periods},
    {"chkNonInvoiceGRV", 0, &CompanySettings::without_document},
};

constexpr char kDecimalsKind[] = "TextBox";
constexpr char kDecimalsName[] = "txtDecimals";

int32_t Decimals(const std::string& saved) {
  const std::string text = vb::Trim(saved);
  if (text.size() != 1 || text[0] < '0' || text[0] > '0' + kMaxDecimals) return 2;
  return text[0] - '0';
}

const char* Flag(bool on) { return on ? "1" : "0"; }

void SaveUserValue(data::Connection& connection, const std::string& database,
                   const std::string& user, const char* kind, const char* name, int index,
                   const std::string& value) {
  const std::vector<vb::Variant> key = {database, user, std::string(kind), std::string(name),
                                        index};
  connection.Execute(
      "DELETE FROM UserControlValues WHERE DatabaseName = ?1 AND UserName = ?2 "
      "AND ControlKind = ?3 AND ControlName = ?4 AND ControlIndex = ?5",
      key);
  std::vector<vb::Variant> row = key;
  row.push_back(value);
  connection.Execute(
      "INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind, ControlName, "
      "ControlIndex, ControlValue) VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
      row);
}

void SaveCompanyValue(data::Connection& connection, int32_t company_id, const char* kind,
                      const char* name, int index, const std::string& value) {
  const std::vector<vb::Variant> key = {company_id, std::string(kind), std::string(name), index};
  connection.Execute(
      "DELETE FROM CompanyControlValues WHERE CompanyID = ?1 AND ControlKind = ?2 "
      "AND ControlName = ?3 AND ControlIndex = ?4",
      key);
  std::vector<vb::Variant> row = key;
  row.push_back(value);
  connection.Execute(
      "INSERT INTO CompanyControlValues (CompanyID, ControlKind, ControlName, ControlIndex, "
      "ControlValue) VALUES (?1, ?2, ?3, ?4, ?5)",
      row);
}

}  // namespace

PrintPreferences ReadPrintPreferences(const std::string& connection_text,
                                      const std::string& database) {
  services::ControlSettings settings;
  settings.Connect(connection_text);
  auto form = [&](int16_t index) {
    return settings.ReadControlValue("CheckBox", "chkPOGRVForm", index, database);
  };
  PrintPreferences preferences;
  preferences.ruled_orders = documents::WantsBoxedPurchaseOrder(form(0));
  preferences.ruled_received = !documents::WantsPlainVoucher(form(1));
  preferences.ruled_returned = !documents::WantsPlainVoucher(form(2));
  preferences.order_printer = settings.ReadControlValue("ComboBox", "cboPrinters", 6, database);
  preferences.voucher_printer = settings.ReadControlValue("ComboBox", "cboPrinters", 7, database);
  return preferences;
}

void SavePrintPreferences(data::Connection& connection, const std::string& database,
                          const std::string& user_name, const PrintPreferences& preferences) {
  connection.RunInTransaction([&] {
    auto save = [&](const char* kind, const char* name, int index, const std::string& value) {
      SaveUserValue(connection, database, user_name, kind, name, index, value);
    };
    save("CheckBox", "chkPOGRVForm", 0, Flag(preferences.ruled_orders));
    save("CheckBox", "chkPOGRVForm", 1, Flag(preferences.ruled_received));
    save("CheckBox", "chkPOGRVForm", 2, Flag(preferences.ruled_returned));
    save("ComboBox", "cboPrinters", 6, preferences.order_printer);
    save("ComboBox", "cboPrinters", 7, preferences.voucher_printer);
  });
}

CompanySettings ReadCompanySettings(const std::string& connection_text, int32_t company_id) {
  services::ControlSettings saved;
  saved.Connect(connection_text);
  CompanySettings settings;
  for (const CompanyCheck& check : kCompanyChecks) {
    settings.*check.rule = vb::Trim(saved.ReadCompanyControlValue("CheckBox", check.name,
                                                                  check.index, company_id)) == "1";
  }
  settings.qty_decimals =
      Decimals(saved.ReadCompanyControlValue(kDecimalsKind, kDecimalsName, 0, company_id));
  settings.price_decimals =
      Decimals(saved.ReadCompanyControlValue(kDecimalsKind, kDecimalsName, 1, company_id));
  return settings;
}

void SaveCompanySettings(data::Connection& connection, int32_t company_id,
                         const CompanySettings& settings) {
  connection.RunInTransaction([&] {
    for (const CompanyCheck& check : kCompanyChecks) {
      SaveCompanyValue(connection, company_id, "CheckBox", check.name, check.index,
                       Flag(settings.*check.rule));
    }
    SaveCompanyValue(connection, company_id, kDecimalsKind, kDecimalsName, 0,
                     std::to_string(settings.qty_decimals));
    SaveCompanyValue(connection, company_id, kDecimalsKind, kDecimalsName, 1,
                     std::to_string(settings.price_decimals));
  });
}

}  // namespace kvt::host
