// What the settings screen switches: the company's posting rules and display
// decimals, and a user's print preferences, stored where ControlSettings
// reads them, so the component's save voucher dialog and printing use what
// was chosen. Toolkit-free.
#pragma once

#include <cstdint>
#include <string>

namespace kvt::host {

// The company's five posting rules (the "CheckBox" company control values
// the save voucher dialog reads). All off for a company that never saved
// them.
struct PostingRules {
  bool prior_periods = false;              // "chkAccountant"(0)
  bool future_periods = false;             // "chkAccountant"(1)
  bool auto_advance_period = false;        // "chkAutoAdvancePeriod"(1): propose today's period
  bool before_supplier_procedure = false;  // "chkPriorPeriodGRVPosting"(0)
  bool save_without_document = false;      // "chkNonInvoiceGRV"(0)

  bool operator==(const PostingRules&) const = default;
};

// The most decimals a quantity or price is shown with.
inline constexpr int32_t kMaxDecimals = 4;

// A company's posting rules and the decimals its quantities and prices are
// shown with ("txtDecimals" 0 and 1).
struct CompanySettings {
  PostingRules rules;
  int32_t qty_decimals = 2;
  int32_t price_decimals = 2;

  bool operator==(const CompanySettings&) const = default;
};

// Reads and writes the settings of `company_id` on the database of
// `connection_text`. A rule is on when its saved text, trimmed, is "1", as
// the dialog reads it; decimals unsaved or outside 0..kMaxDecimals read as
// 2. Raise what opening or the statements raise (a read-only database);
// writing is one transaction, so nothing is saved then.
CompanySettings ReadCompanySettings(const std::string& connection_text, int32_t company_id);
void WriteCompanySettings(const std::string& connection_text, int32_t company_id,
                          const CompanySettings& settings);

// A user's print preferences under a database name ("KvtDemo"): ruled or
// plain layouts ("chkPOGRVForm" 0 orders, 1 received and consignment
// vouchers, 2 returned vouchers) and the printers ("cboPrinters" 6 orders,
// 7 vouchers; empty: the system's default printer).
struct PrintPreferences {
  bool ruled_orders = true;
  bool ruled_received = true;
  bool ruled_returned = true;
  std::string order_printer;
  std::string voucher_printer;

  bool operator==(const PrintPreferences&) const = default;
};

// What printing would use for the user the connection text names (no
// "User ID": every user's values), the user's own values before those
// saved for every user; each layout is ruled or plain as printing would
// choose it from the saved text (an order needs "1" to be ruled, a voucher
// any text but another number).
PrintPreferences ReadPrintPreferences(const std::string& connection_text,
                                      const std::string& database_name);
// Saves `preferences` as that user's own (no "User ID": for every user).
void WritePrintPreferences(const std::string& connection_text, const std::string& database_name,
                           const PrintPreferences& preferences);

}  // namespace kvt::host
