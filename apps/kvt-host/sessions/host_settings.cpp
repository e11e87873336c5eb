#include "apps/kvt-host/sessions/host_settings.h"

#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "kvt/host_helpers.h"
#include "platform/value/text.h"
#include "services/connection_text.h"
#include "services/control_settings.h"
#include "services/data_gateway.h"

namespace kvt::host {

namespace {

struct RuleControl {
  const char* name;
  int16_t index;
  bool PostingRules::*rule;
};

// In the order the save voucher dialog reads them.
constexpr RuleControl kRuleControls[] = {
    {"chkAccountant", 0, &PostingRules::prior_periods},
    {"chkAccountant", 1, &PostingRules::future_periods},
    {"chkAutoAdvancePeriod", 1, &PostingRules::auto_advance_period},
    {"chkPriorPeriodGRVPosting", 0, &PostingRules::before_supplier_procedure},
    {"chkNonInvoiceGRV", 0, &PostingRules::save_without_document},
};

constexpr char kDecimals[] = "txtDecimals";
constexpr char kFormPreference[] = "chkPOGRVForm";
constexpr char kPrinters[] = "cboPrinters";

bool IsOn(const std::string& saved) { return vb::Trim(saved) == "1"; }

int32_t DecimalsOf(const std::string& saved) {
  const std::string text = vb::Trim(saved);
  if (text.size() != 1 || text[0] < '0' || text[0] > '0' + kMaxDecimals) return 2;
  return text[0] - '0';
}

// Runs `sql` once per row of `rows`, all in one transaction.
void ExecuteAll(const std::string& connection_text, const std::string& sql,
                const std::vector<std::vector<vb::Variant>>& rows) {
  data::ConnectionRef connection = services::DataGateway().OpenConnection(connection_text, -1, 3);
  connection->RunInTransaction([&] {
    for (const auto& row : rows) connection->Execute(sql, row);
  });
}

services::ControlSettings SettingsOf(const std::string& connection_text) {
  services::ControlSettings settings;
  settings.Connect(connection_text);
  return settings;
}

}  // namespace

CompanySettings ReadCompanySettings(const std::string& connection_text, int32_t company_id) {
  services::ControlSettings saved = SettingsOf(connection_text);
  CompanySettings settings;
  for (const RuleControl& control : kRuleControls) {
    settings.rules.*control.rule =
        IsOn(saved.ReadCompanyControlValue("CheckBox", control.name, control.index, company_id));
  }
  settings.qty_decimals =
      DecimalsOf(saved.ReadCompanyControlValue("TextBox", kDecimals, 0, company_id));
  settings.price_decimals =
      DecimalsOf(saved.ReadCompanyControlValue("TextBox", kDecimals, 1, company_id));
  return settings;
}

void WriteCompanySettings(const std::string& connection_text, int32_t company_id,
                          const CompanySettings& settings) {
  const CompanySettings before = ReadCompanySettings(connection_text, company_id);
  std::vector<std::vector<vb::Variant>> rows;
  std::string changes;
  auto add = [&](const char* kind, const char* name, int32_t index, const std::string& value,
                 const std::string& was) {
    // Only what changed: each value written needs its own role's right.
    if (value == was) return;
    rows.push_back({vb::Variant(company_id), vb::Variant(std::string(kind)),
                    vb::Variant(std::string(name)), vb::Variant(index), vb::Variant(value)});
    changes += (changes.empty() ? "" : "; ") + std::string(name) + "(" + std::to_string(index) +
               ") " + was + " -> " + value;
  };
  for (const RuleControl& control : kRuleControls) {
    add("CheckBox", control.name, control.index, settings.rules.*control.rule ? "1" : "0",
        before.rules.*control.rule ? "1" : "0");
  }
  add("TextBox", kDecimals, 0, std::to_string(settings.qty_decimals),
      std::to_string(before.qty_decimals));
  add("TextBox", kDecimals, 1, std::to_string(settings.price_decimals),
      std::to_string(before.price_decimals));

  // Nothing to write, nor to ask a right for.
  if (changes.empty()) return;
  data::ConnectionRef connection = services::DataGateway().OpenConnection(connection_text, -1, 3);
  const access::UserAccess access = access::UserAccess::Of(*connection);
  const std::string document = "company " + std::to_string(company_id);
  const bool rules_changed = !(before.rules == settings.rules);
  const bool others_changed = before.qty_decimals != settings.qty_decimals ||
                              before.price_decimals != settings.price_decimals;
  if (rules_changed) {
    access.Require(*connection, access::Action::kChangePostingRules, document, company_id);
  }
  if (others_changed) {
    access.Require(*connection, access::Action::kChangeSettings, document, company_id);
  }
  const access::AuditEntry entry{
      company_id, rules_changed ? "posting rules changed" : "settings changed", document, changes};
  access::RunAudited(*connection, access.User(), entry, [&] {
    connection->RunInTransaction([&] {
      for (const auto& row : rows) {
        connection->Execute(
            "INSERT INTO CompanyControlValues (CompanyID, ControlKind, ControlName, "
            "ControlIndex, ControlValue) VALUES (?1, ?2, ?3, ?4, ?5) "
            "ON CONFLICT (CompanyID, ControlKind, ControlName, ControlIndex) "
            "DO UPDATE SET ControlValue = excluded.ControlValue",
            row);
      }
      access::Audit(*connection, access.User(), entry);
    });
  });
}

PrintPreferences ReadPrintPreferences(const std::string& connection_text,
                                      const std::string& database_name) {
  services::ControlSettings settings = SettingsOf(connection_text);
  auto form = [&](int16_t index) {
    return settings.ReadControlValue("CheckBox", kFormPreference, index, database_name);
  };
  PrintPreferences preferences;
  preferences.ruled_orders = kvt::WantsBoxedPurchaseOrder(form(0));
  preferences.ruled_received = !kvt::WantsPlainVoucher(form(1));
  preferences.ruled_returned = !kvt::WantsPlainVoucher(form(2));
  preferences.order_printer = settings.ReadControlValue("ComboBox", kPrinters, 6, database_name);
  preferences.voucher_printer = settings.ReadControlValue("ComboBox", kPrinters, 7, database_name);
  return preferences;
}

void WritePrintPreferences(const std::string& connection_text, const std::string& database_name,
                           const PrintPreferences& preferences) {
  struct Value {
    const char* kind;
    const char* name;
    int32_t index;
    std::string value;
  };
  const Value values[] = {
      {"CheckBox", kFormPreference, 0, preferences.ruled_orders ? "1" : "0"},
      {"CheckBox", kFormPreference, 1, preferences.ruled_received ? "1" : "0"},
      {"CheckBox", kFormPreference, 2, preferences.ruled_returned ? "1" : "0"},
      {"ComboBox", kPrinters, 6, preferences.order_printer},
      {"ComboBox", kPrinters, 7, preferences.voucher_printer},
  };
  // The user ControlSettings reads the values for.
  const std::string user_name = services::ParseConnectionText(connection_text).user_id;
  std::vector<std::vector<vb::Variant>> rows;
  for (const Value& value : values) {
    rows.push_back({vb::Variant(database_name), vb::Variant(user_name),
                    vb::Variant(std::string(value.kind)), vb::Variant(std::string(value.name)),
                    vb::Variant(value.index), vb::Variant(value.value)});
  }
  ExecuteAll(connection_text,
             "INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind, ControlName, "
             "ControlIndex, ControlValue) VALUES (?1, ?2, ?3, ?4, ?5, ?6) "
             "ON CONFLICT (DatabaseName, UserName, ControlKind, ControlName, ControlIndex) "
             "DO UPDATE SET ControlValue = excluded.ControlValue",
             rows);
}

}  // namespace kvt::host
