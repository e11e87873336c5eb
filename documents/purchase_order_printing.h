// Printing a saved purchase order: the work behind COrder's
// ShowPurchaseOrder, kept here so that business code and the document stay
// apart and the steps can be tested without the component.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/report/output.h"
#include "platform/report/report.h"
#include "services/data_gateway.h"

namespace kvt::documents {

// The purchase order's print data: "Exec sp_AO_Select_Purchase_Order_Data "
// followed by the order id in plain decimal digits.
std::string PurchaseOrderDataCommand(int32_t order_id);

// True when the saved "chkPOGRVForm" value asks for the boxed layout: text
// whose leading number, taken as a whole number, is 1. Empty text, other
// numbers (one beyond the Double range too) and text that is no number ask
// for the plain one.
bool WantsBoxedPurchaseOrder(const std::string& saved_value);

// A fresh, unbound instance of the layout the saved value asks for
// (rptPurchaseOrder or rptPurchaseOrderNG).
std::unique_ptr<report::Report> NewPurchaseOrderLayout(const std::string& saved_value);

// Binds each field of the print data to its column, as the record set
// names it. A column the record set lacks leaves its field unbound.
void BindPurchaseOrderFields(report::Report& report, const data::RecordSetRef& print_data);

// Fetches order `order_id`'s print data through `gateway` on
// `connection_text`, picks the layout by the user's saved preference under
// `database`, marks a reprint, sets the saved purchase-order printer, binds
// the data and then previews the document (`show_preview`, modal) or prints
// it with the print dialog offered first, all through `output`.
//
// Every statement that fails is passed over and the next one runs, so the
// call never raises: a missing column leaves its field empty, an unreadable
// preference picks rptPurchaseOrderNG and leaves the printer name empty, a
// failed fetch gives a document without data.
void PrintPurchaseOrder(int32_t order_id, bool show_preview, const std::string& database,
                        bool reprint, const std::string& connection_text,
                        services::DataGateway& gateway, report::Output& output);
// The same through the calling thread's output (report::CurrentOutput()).
void PrintPurchaseOrder(int32_t order_id, bool show_preview, const std::string& database,
                        bool reprint, const std::string& connection_text,
                        services::DataGateway& gateway);

}  // namespace kvt::documents
