// The desk's settings, kept where ControlSettings reads them, so the
// component prints and posts as the user and the company chose: the user's
// print preferences in UserControlValues, the company's posting rules and
// display decimals in CompanyControlValues. Toolkit-free.
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/connection.h"

namespace kvt::host {

// One user's choices for printed documents, under one database name.
struct PrintPreferences {
  bool ruled_orders = false;    // chkPOGRVForm(0): the boxed purchase order
  bool ruled_received = true;   // chkPOGRVForm(1): boxed received vouchers
  bool ruled_returned = true;   // chkPOGRVForm(2): boxed returned vouchers
  std::string order_printer;    // cboPrinters(6); empty: the system's default
  std::string voucher_printer;  // cboPrinters(7)
};

// One company's posting rules (frmSaveGRV reads them at every binding) and
// the decimals its quantities and prices are shown with.
struct CompanySettings {
  bool prior_periods = false;     // chkAccountant(0)
  bool future_periods = false;    // chkAccountant(1)
  bool auto_advance = false;      // chkAutoAdvancePeriod(1)
  bool closed_periods = false;    // chkPriorPeriodGRVPosting(0)
  bool without_document = false;  // chkNonInvoiceGRV(0)
  int32_t qty_decimals = 2;       // txtDecimals(0)
  int32_t price_decimals = 2;     // txtDecimals(1)
};

// The most decimals a quantity or price is shown with.
inline constexpr int32_t kMaxDecimals = 4;

// What the component reads for the user the connection text names (the
// value saved for all users when the user has none), read as the printing
// operations read it. Raises what connecting raises.
PrintPreferences ReadPrintPreferences(const std::string& connection_text,
                                      const std::string& database);
// Saves `preferences` as `user_name`'s own, in one transaction. Raises what
// the statements raise (a read-only database); nothing is saved then.
void SavePrintPreferences(data::Connection& connection, const std::string& database,
                          const std::string& user_name, const PrintPreferences& preferences);

// The company's saved settings as frmSaveGRV reads them; decimals outside
// 0..kMaxDecimals or unsaved read as 2.
CompanySettings ReadCompanySettings(const std::string& connection_text, int32_t company_id);
// Saves the company's settings in one transaction; errors as above.
void SaveCompanySettings(data::Connection& connection, int32_t company_id,
                         const CompanySettings& settings);

}  // namespace kvt::host
