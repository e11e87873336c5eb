// The content the two purchase-order layouts share: their controls, with
// the geometry of each variant, and the table that binds the fields to the
// columns of the order's print data.
#pragma once

#include <span>

#include "documents/layout_parts.h"
#include "platform/report/report.h"

namespace kvt::documents {

// Title of the printed purchase order (preview caption, PDF title).
inline constexpr const char* kPurchaseOrderTitle = "Brellix Purchase Order";
// Name of the data control that gives the layouts their rows.
inline constexpr const char* kPurchaseOrderDataControl = "dcHeader";

// Every run-time binding, in the order the fields are bound.
extern const std::span<const ColumnBinding> kPurchaseOrderBindings;

enum class PurchaseOrderStyle {
  Boxed,  // rptPurchaseOrder: boxes round the blocks, rules, heading band
  Plain,  // rptPurchaseOrderNG: the same content without boxes and rules
};

// Adds the sections, controls and data control of a purchase-order layout
// to an empty report.
void BuildPurchaseOrderLayout(report::Report& report, PurchaseOrderStyle style);

}  // namespace kvt::documents
