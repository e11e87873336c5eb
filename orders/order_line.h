// OrderLine — the purchase-order line as COrder shows it to the host: text
// properties that read and write the order item dialog's controls, and the
// fills that prepare the dialog for a new or an existing line.
//
// Nothing here traps a failure (a value that is no number raises 13 where a
// number is needed): a fill raises at its first failure, keeping what it
// already wrote and staying in binding state; COrder names the style.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "component/dialog_property.h"
#include "orders/frmEditOrderDetail.h"

namespace kvt::data {
class RecordSet;
}

namespace kvt::orders {

// KvFormulaType: the lookup lists of the dialog.
inline constexpr int kTradeFormulaList = 1;
inline constexpr int kRebateFormulaList = 2;
inline constexpr int kOtherFormulaList = 3;
inline constexpr int kTaxCodeList = 4;

// A new, unloaded order item dialog for the thread's dialog slot.
std::shared_ptr<component::Dialog> MakeOrderItemDialog();
// The thread's order item dialog, loaded (hidden) when it is not. Raises 91
// when the slot holds none.
frmEditOrderDetail& SharedOrderItemDialog();

// COrder's line properties, one row each: the order item dialog's control
// each one reads and writes.
std::span<const component::DialogProperty<frmEditOrderDetail>> OrderLineProperties();

class OrderLine {
 public:
  explicit OrderLine(frmEditOrderDetail& form) : form_(form) {}

  // A line property by name, as its text (Product_ID as its number). An
  // unknown name is a programming error (std::logic_error).
  std::string Get(std::string_view property) const;
  void Let(std::string_view property, const vb::Variant& value);

  // Fills lookup list `formula` (1 to 4) from "sp_AO_Select_Order_Lups"
  // for the thread's company. Never raises: each failing step is skipped.
  void BindFormulaDBC(int formula);

  // Prepares the dialog for a new line from the product's current row.
  void AssignAllForAdding(data::RecordSet& product, double order_qty, const std::string& order_no);
  // Prepares the dialog for the order-detail row the set is positioned on.
  void AssignAllForEditing(data::RecordSet& product, data::RecordSet& detail,
                           const std::string& order_no);

 private:
  // Binds list `list` and selects the ID in `column` of `row` (or "1").
  void BindAndSelect(int list, data::RecordSet* row, const char* column);
  void CopyProductFigures(data::RecordSet& product, bool adding);

  frmEditOrderDetail& form_;
};

}  // namespace kvt::orders
