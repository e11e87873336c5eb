#include "apps/kvt-host/vouchers/host_settings.h"

#include <vector>

#include "documents/purchase_order_printing.h"
#include "documents/voucher_printing.h"
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

constexpr char kFormPreference[] = "chkPOGRVForm";
constexpr char kPrinters[] = "cboPrinters";

bool IsOn(const std::string& saved) {
  const size_t first = saved.find_first_not_of(' ');
  const size_t last = saved.find_last_not_of(' ');
  return first != std::string::npos && saved.substr(first, last - first + 1) == "1";
}

data::ConnectionRef Open(const std::string& connection_text) {
  return services::DataGateway().OpenConnection(connection_text, -1, 3);
}

// Runs `sql` once per row of `rows`, all in one transaction.
void ExecuteAll(const std::string& connection_text, const std::string& sql,
                const std::vector<std::vector<vb::Variant>>& rows) {
  data::ConnectionRef connection = Open(connection_text);
  connection->RunInTransaction([&] {
    for (const auto& row : rows) connection->Execute(sql, row);
  });
}

services::ControlSettings SettingsOf(const std::string& connection_text,
                                     const std::string& user_name) {
  services::ControlSettings settings;
  settings.Connect(user_name.empty() ? connection_text
                                     : connection_text + ";User ID=" + user_name);
  return settings;
}

}  // namespace

PostingRules ReadPostingRules(const std::string& connection_text, int32_t company_id) {
  services::ControlSettings settings = SettingsOf(connection_text, "");
  PostingRules rules;
  for (const RuleControl& control : kRuleControls) {
    rules.*control.rule = IsOn(
        settings.ReadCompanyControlValue("CheckBox", control.name, control.index, company_id));
  }
  return rules;
}

void WritePostingRules(const std::string& connection_text, int32_t company_id,
                       const PostingRules& rules) {
  std::vector<std::vector<vb::Variant>> rows;
  for (const RuleControl& control : kRuleControls) {
    rows.push_back({vb::Variant(company_id), vb::Variant(std::string(control.name)),
                    vb::Variant(static_cast<int32_t>(control.index)),
                    vb::Variant(std::string(rules.*control.rule ? "1" : "0"))});
  }
  ExecuteAll(connection_text,
             "INSERT INTO CompanyControlValues (CompanyID, ControlKind, ControlName, "
             "ControlIndex, ControlValue) VALUES (?1, 'CheckBox', ?2, ?3, ?4) "
             "ON CONFLICT (CompanyID, ControlKind, ControlName, ControlIndex) "
             "DO UPDATE SET ControlValue = excluded.ControlValue",
             rows);
}

PrintPreferences ReadPrintPreferences(const std::string& connection_text,
                                      const std::string& database_name,
                                      const std::string& user_name) {
  services::ControlSettings settings = SettingsOf(connection_text, user_name);
  auto form = [&](int16_t index) {
    return settings.ReadControlValue("CheckBox", kFormPreference, index, database_name);
  };
  PrintPreferences preferences;
  preferences.ruled_orders = documents::WantsBoxedPurchaseOrder(form(0));
  preferences.ruled_received = !documents::WantsPlainVoucher(form(1));
  preferences.ruled_returned = !documents::WantsPlainVoucher(form(2));
  preferences.order_printer = settings.ReadControlValue("ComboBox", kPrinters, 6, database_name);
  preferences.voucher_printer =
      settings.ReadControlValue("ComboBox", kPrinters, 7, database_name);
  return preferences;
}

void WritePrintPreferences(const std::string& connection_text, const std::string& database_name,
                           const std::string& user_name, const PrintPreferences& preferences) {
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
