// The host's purchase-order screen, filled and emptied by the component:
// the order header from the host's data provider, and the product-details
// panel from the host's forecasting object. Everything is reached by name
// at run time on the form object the host passes in; nothing is kept.
//
// Controls used on the form (control arrays, by index): KvtDBC(0) (the data
// provider, answering MemberGet "Order_Headers", "Suppliers_In_Orders" and
// "Branch_Codes" with record sets), dbcOHeaderEdit(3, 4), txtOHeaderEdit(1
// to 5), lblOHeaderEdit(1 to 7), sugOrderDetails(0), lblProdDetails(0 to
// 6), txtProdDetails(0 to 3) and lblStats(0 to 2).
//
// Each operation ends silently at its first failure (a control or index the
// form lacks, a data member the provider does not serve, a missing column,
// a Null where the control refuses one): controls written before it keep
// their new values, the rest keep theirs. None raises; each returns the
// failure that stopped it (no error when it ran through), for hosts and
// tests that want to know.
#pragma once

#include "platform/value/error.h"
#include "platform/value/variant.h"

namespace kvt::orders {

// Binds the supplier and branch lists to the order header, and shows the
// header's texts and its seven totals (two decimals, grouped; Null as
// "0.00"). `form` holds the host's order screen.
vb::ErrorData BindOrderHeader(const vb::Variant& form);

// Releases the header controls' data sources and row sources, empties
// their data members and texts (the total labels become "", not zero) and
// releases the order-lines grid's data source.
vb::ErrorData ClearHeaderControls(const vb::Variant& form);

// Shows the forecasting object's fourteen values in the product-details
// panel, unformatted; a Null LastSaleDate shows as "".
vb::ErrorData SetProductDetails(const vb::Variant& form, const vb::Variant& forecaster);

}  // namespace kvt::orders
