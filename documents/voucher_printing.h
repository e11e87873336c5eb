// Printing a saved voucher of any kind: the work behind CGRV's
// ShowGRVReport, kept here so that business code and the document stay
// apart and the steps can be tested without the component.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/data/record_set.h"
#include "platform/report/output.h"
#include "platform/report/report.h"
#include "services/data_gateway.h"

namespace kvt::documents {

enum class VoucherKind {
  None,                 // no print data, no row, or a transaction type of another kind
  GoodsReceived,        // 19
  GoodsReturned,        // 20
  ConsignmentReceived,  // 31
  ConsignmentReturned,  // 32
};

// The voucher's print data: "Exec sp_AO_Select_GRV_Report_Data " followed
// by the voucher id in plain decimal digits.
std::string VoucherDataCommand(int32_t grv_id);

// The kind "TranTypeID" of the current row names. None unless the record
// set is there, open and on a row; None too when the value is Null or no
// number.
VoucherKind KindOfVoucher(const data::RecordSetRef& print_data);

// Index of the user's form preference for `kind` within the saved check
// boxes "chkPOGRVForm": 1 for goods and consignment received, 2 for every
// other kind, None included.
int16_t FormPreferenceIndex(VoucherKind kind);

// True when the saved preference asks for the plain layout: a number other
// than 1. Empty text and text that is no number (a number too large for a
// double among them) ask for the ruled one.
bool WantsPlainVoucher(const std::string& saved_value);

// A fresh, unbound instance of the layout for `kind` and the saved
// preference: the returned family for goods returned, the received family
// for every other kind.
std::unique_ptr<report::Report> NewVoucherLayout(VoucherKind kind, const std::string& saved_value);

// Output formats of the line quantity (0 to 3 decimals) and unit price (2
// to 4 decimals); a setting outside a field's range gives two decimals.
std::string QuantityFormat(int qty_decimals);
std::string UnitPriceFormat(int price_decimals);

// Steps 2 to 11 of printing voucher `grv_id`: fetches its print data
// through `gateway` on `connection_text`, works out its kind, picks the
// layout by the user's preference saved under `database`, marks a copy
// (`reprint`), sets the saved voucher printer, gives the consignment
// titles, binds the fields and sets the quantity and price formats from
// the shared `qty_decimals` and `price_decimals`. Returns the bound layout,
// ready to run.
//
// Every statement that fails is passed over and the next one runs, so the
// call never raises: a voucher that does not exist or cannot be fetched
// gives an empty received layout, a missing column leaves its field empty,
// unreadable preferences give the ruled layout and no printer name.
std::unique_ptr<report::Report> PrepareGRVReport(int32_t grv_id, const std::string& database,
                                                 bool reprint, const std::string& connection_text,
                                                 int qty_decimals, int price_decimals,
                                                 services::DataGateway& gateway);

// Prepares the voucher as above, runs it with the metrics of `output` and
// shows it in `output`'s modal preview, from which the user prints to the
// saved printer; returns when the preview is closed. `company_id` is
// accepted and not used. Never raises.
void PrintGRVReport(int32_t grv_id, int32_t company_id, const std::string& database, bool reprint,
                    const std::string& connection_text, int qty_decimals, int price_decimals,
                    services::DataGateway& gateway, report::Output& output);
// The same through the calling thread's output (report::CurrentOutput()).
void PrintGRVReport(int32_t grv_id, int32_t company_id, const std::string& database, bool reprint,
                    const std::string& connection_text, int qty_decimals, int price_decimals,
                    services::DataGateway& gateway);

}  // namespace kvt::documents
