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
#include <string>

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

class OrderLine {
 public:
  explicit OrderLine(frmEditOrderDetail& form) : form_(form) {}

  // Product figures (write only; shown as given, Last_Cost with two
  // decimals).
  void Product_Name(const std::string& text);
  void Selling_Price_1(const std::string& text);
  void Selling_Price_2(const std::string& text);
  void Lead_Time(const std::string& text);
  void Service_Level(const std::string& text);
  void Last_Sale_Date(const std::string& text);
  void Stock_On_Hand(const std::string& text);
  void Stock_Reserved(const std::string& text);
  void Qty_On_Order(const std::string& text);
  void Orders_Pending(const std::string& text);
  void Shopping_List_Qty(const std::string& text);
  void Last_Cost(const std::string& text);
  void ODOrder_Number(const std::string& text);
  void Form_Caption(const std::string& text);
  void Form_State_Label(const std::string& text);
  void Cmd_Action_Caption(const std::string& text);
  // Lead time and service level are not read back from the dialog.
  std::string Lead_Time() const { return {}; }
  std::string Service_Level() const { return {}; }

  // The product ID label as a whole number (13 when it holds none).
  int32_t Product_ID() const;
  void Product_ID(int32_t id);

  // Entry boxes and calculated labels, as text.
  std::string Order_Qty() const;
  void Order_Qty(const std::string& text);
  std::string Unit_Price() const;
  void Unit_Price(const std::string& text);
  std::string Trade_Discount() const;
  void Trade_Discount(const std::string& text);
  std::string Rebate_Discount() const;
  void Rebate_Discount(const std::string& text);
  std::string Other_Discount() const;
  void Other_Discount(const std::string& text);
  std::string Back_Order_Qty() const;
  void Back_Order_Qty(const std::string& text);
  std::string Free_Qty() const;
  void Free_Qty(const std::string& text);
  std::string Net_Amount() const;
  void Net_Amount(const std::string& text);
  std::string Tax() const;
  void Tax(const std::string& text);
  std::string Total_Cost() const;
  void Total_Cost(const std::string& text);

  // Formula and tax code IDs as text: the lists' bound values. Writing a
  // formula ID above 1 ticks its use-formula box (never clears it); the
  // text must be a number (13 otherwise).
  std::string Trade_Disc_Formula() const;
  void Trade_Disc_Formula(const std::string& id);
  std::string Rebate_Disc_Formula() const;
  void Rebate_Disc_Formula(const std::string& id);
  std::string Other_Disc_Formula() const;
  void Other_Disc_Formula(const std::string& id);
  std::string Tax_Code() const;
  void Tax_Code(const std::string& id);

  // Fills lookup list `formula` (1 to 4) from "sp_AO_Select_Order_Lups"
  // for the thread's company. Never raises: each failing step is skipped.
  void BindFormulaDBC(int formula);

  // Prepares the dialog for a new line from the product's current row.
  void AssignAllForAdding(data::RecordSet& product, double order_qty,
                          const std::string& order_no);
  // Prepares the dialog for the order-detail row the set is positioned on.
  void AssignAllForEditing(data::RecordSet& product, data::RecordSet& detail,
                           const std::string& order_no);

 private:
  void SetFormula(int list, const std::string& id);
  // Binds list `list` and selects the ID in `column` of `row` (or "1").
  void BindAndSelect(int list, data::RecordSet* row, const char* column);
  void CopyProductFigures(data::RecordSet& product, bool adding);

  frmEditOrderDetail& form_;
};

}  // namespace kvt::orders
