// COrder — what the host's purchase-order screen drives: the shared
// settings, the delivery-details dialog and its answers.
//
// Every COrder and CGRV on a thread shares one store of settings and
// dialogs; a COrder keeps no state of its own, so any instance reaches the
// same dialogs. All members run on the host's user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "kvt/enumerations.h"
#include "kvt/export.h"
#include "kvt/shared_settings.h"
#include "platform/value/variant.h"

namespace kvt {

class KVT_EXPORT COrder : public SharedSettings {
 public:
  COrder();
  ~COrder();
  COrder(const COrder&) = delete;
  COrder& operator=(const COrder&) = delete;
  COrder(COrder&&) noexcept;
  COrder& operator=(COrder&&) noexcept;

  // Kept with the shared settings and never read.
  void UserID(int32_t value);

  // Delivery dialog lifecycle. None raises.
  // Creates the shared dialog if there is none and loads it (not shown);
  // a loaded dialog is left alone. A failed load leaves no dialog.
  void LoadDeliveryForm();
  // Unloads a loaded dialog and releases it; otherwise does nothing.
  void UnloadDeliveryForm();
  // Creates and loads the dialog if there is none, then shows it modally;
  // returns when the user has confirmed (dialog hidden, still loaded) or
  // cancelled (dialog unloaded).
  void ShowDeliveryForm();
  // Hides the dialog if there is one. (Spelled as hosts call it.)
  void HideDeliveyForm();
  // True while the dialog is loaded: after ShowDeliveryForm, true means
  // the user confirmed and false that the user cancelled. False with no
  // dialog.
  bool IsDeliveryFormLoaded();

  // The delivery dialog's fields; each reads or writes the control itself.
  // None traps a failure: with no dialog (before LoadDeliveryForm or after
  // UnloadDeliveryForm) each raises 91 (Object variable or With block
  // variable not set).
  std::string Order_No() const { return DeliveryText("Order_No"); }
  void Order_No(const std::string& value) { DeliveryText("Order_No", value); }
  std::string Date_Ordered() const { return DeliveryText("Date_Ordered"); }
  void Date_Ordered(const std::string& value) { DeliveryText("Date_Ordered", value); }
  std::string Supplier_Name() const { return DeliveryText("Supplier_Name"); }
  void Supplier_Name(const std::string& value) { DeliveryText("Supplier_Name", value); }
  std::string Created_By() const { return DeliveryText("Created_By"); }
  void Created_By(const std::string& value) { DeliveryText("Created_By", value); }
  std::string Del_Name() const { return DeliveryText("Del_Name"); }
  void Del_Name(const std::string& value) { DeliveryText("Del_Name", value); }
  std::string Del_Address1() const { return DeliveryText("Del_Address1"); }
  void Del_Address1(const std::string& value) { DeliveryText("Del_Address1", value); }
  std::string Del_Address2() const { return DeliveryText("Del_Address2"); }
  void Del_Address2(const std::string& value) { DeliveryText("Del_Address2", value); }
  std::string Del_Address3() const { return DeliveryText("Del_Address3"); }
  void Del_Address3(const std::string& value) { DeliveryText("Del_Address3", value); }
  std::string Del_PostCode() const { return DeliveryText("Del_PostCode"); }
  void Del_PostCode(const std::string& value) { DeliveryText("Del_PostCode", value); }
  // Whether "Save Order now and Print Order" can be chosen. Disabling it
  // does not change the choice.
  bool Process_Order_Enabled() const { return DeliveryFlag("Process_Order_Enabled"); }
  void Process_Order_Enabled(bool value) { DeliveryFlag("Process_Order_Enabled", value); }
  // Whether "Save as a Pending Order" can be chosen.
  bool Save_Order_Enabled() const { return DeliveryFlag("Save_Order_Enabled"); }
  void Save_Order_Enabled(bool value) { DeliveryFlag("Save_Order_Enabled", value); }
  // True: "Save Order now and Print Order"; false: "Save as a Pending
  // Order".
  bool OrderNow() const { return DeliveryFlag("OrderNow"); }
  // The "Show Preview" choice; a greyed check box counts as true.
  bool Show_Report_Preview() const { return DeliveryFlag("Show_Report_Preview"); }

  // Order item dialog lifecycle. None raises.
  // True while the order item dialog is loaded: after ShowDetailForm, true
  // means the user accepted the line and false that the user cancelled.
  bool IsEditFormLoaded();
  void LoadDetailForm();
  void UnloadDetailForm();
  // Creates and loads the dialog if there is none, then shows it modally;
  // returns when the user has accepted (hidden) or cancelled (unloaded).
  void ShowDetailForm();
  void HideDetailForm();

  // The line being added or edited: each property reads or writes the
  // order item dialog's control as text (Product_ID as a number). None
  // traps a failure: with no dialog each raises 91; a dialog that is not
  // loaded is loaded, hidden. Last_Cost is shown with two decimals; the
  // formula properties take formula IDs, and an ID above 1 ticks the
  // formula's use box (a non-numeric ID raises 13).
  void Product_Name(const std::string& value) { LineText("Product_Name", value); }
  void Selling_Price_1(const std::string& value) { LineText("Selling_Price_1", value); }
  void Selling_Price_2(const std::string& value) { LineText("Selling_Price_2", value); }
  void Last_Sale_Date(const std::string& value) { LineText("Last_Sale_Date", value); }
  void Stock_On_Hand(const std::string& value) { LineText("Stock_On_Hand", value); }
  void Stock_Reserved(const std::string& value) { LineText("Stock_Reserved", value); }
  void Qty_On_Order(const std::string& value) { LineText("Qty_On_Order", value); }
  void Orders_Pending(const std::string& value) { LineText("Orders_Pending", value); }
  void Shopping_List_Qty(const std::string& value) { LineText("Shopping_List_Qty", value); }
  void Last_Cost(const std::string& value) { LineText("Last_Cost", value); }
  void ODOrder_Number(const std::string& value) { LineText("ODOrder_Number", value); }
  void Form_Caption(const std::string& value) { LineText("Form_Caption", value); }
  void Form_State_Label(const std::string& value) { LineText("Form_State_Label", value); }
  void Cmd_Action_Caption(const std::string& value) { LineText("Cmd_Action_Caption", value); }
  int32_t Product_ID() const { return LineNumber("Product_ID"); }
  void Product_ID(int32_t value) { LineText("Product_ID", std::to_string(value)); }
  std::string Back_Order_Qty() const { return LineText("Back_Order_Qty"); }
  void Back_Order_Qty(const std::string& value) { LineText("Back_Order_Qty", value); }
  std::string Free_Qty() const { return LineText("Free_Qty"); }
  void Free_Qty(const std::string& value) { LineText("Free_Qty", value); }
  // Lead time and service level are shown, not read back: both read "".
  std::string Lead_Time() const { return LineText("Lead_Time"); }
  void Lead_Time(const std::string& value) { LineText("Lead_Time", value); }
  std::string Service_Level() const { return LineText("Service_Level"); }
  void Service_Level(const std::string& value) { LineText("Service_Level", value); }
  std::string Order_Qty() const { return LineText("Order_Qty"); }
  void Order_Qty(const std::string& value) { LineText("Order_Qty", value); }
  std::string Unit_Price() const { return LineText("Unit_Price"); }
  void Unit_Price(const std::string& value) { LineText("Unit_Price", value); }
  std::string Trade_Disc_Formula() const { return LineText("Trade_Disc_Formula"); }
  void Trade_Disc_Formula(const std::string& value) { LineText("Trade_Disc_Formula", value); }
  std::string Trade_Discount() const { return LineText("Trade_Discount"); }
  void Trade_Discount(const std::string& value) { LineText("Trade_Discount", value); }
  std::string Rebate_Disc_Formula() const { return LineText("Rebate_Disc_Formula"); }
  void Rebate_Disc_Formula(const std::string& value) { LineText("Rebate_Disc_Formula", value); }
  std::string Rebate_Discount() const { return LineText("Rebate_Discount"); }
  void Rebate_Discount(const std::string& value) { LineText("Rebate_Discount", value); }
  std::string Other_Disc_Formula() const { return LineText("Other_Disc_Formula"); }
  void Other_Disc_Formula(const std::string& value) { LineText("Other_Disc_Formula", value); }
  std::string Other_Discount() const { return LineText("Other_Discount"); }
  void Other_Discount(const std::string& value) { LineText("Other_Discount", value); }
  std::string Tax_Code() const { return LineText("Tax_Code"); }
  void Tax_Code(const std::string& value) { LineText("Tax_Code", value); }
  std::string Tax() const { return LineText("Tax"); }
  void Tax(const std::string& value) { LineText("Tax", value); }
  std::string Net_Amount() const { return LineText("Net_Amount"); }
  void Net_Amount(const std::string& value) { LineText("Net_Amount", value); }
  std::string Total_Cost() const { return LineText("Total_Cost"); }
  void Total_Cost(const std::string& value) { LineText("Total_Cost", value); }

  // Fills the dialog's lookup list `pFormula` from the database for the
  // shared company. Never raises.
  void BindFormulaDBC(KvFormulaType pFormula);
  // Record sets and host objects travel as Variants holding the object.
  // Prepares the dialog for a new line from the product row the set is on
  // (Null columns take defaults); ends silently at the first failure.
  void AssignAllForAdding(const vb::Variant& pRSProductDetail, double pOrderQty,
                          const std::string& pOrderNo);
  // Prepares the dialog for the order-detail row `pRSOrderDetail` is on.
  void AssignAllForEditing(const vb::Variant& pRSProductDetail, const vb::Variant& pRSOrderDetail,
                           const std::string& pOrderNo);
  // Appends the accepted line to the host's order-detail set and leaves it
  // current; each column that fails shows its error in a warning box.
  void AddOrderDetailToRS(const vb::Variant& DestinationRS);
  // Overwrites the current row (not "Lead Time"); stops silently at the
  // first failure and neither commits nor moves.
  void UpdateOrderDetailRS(const vb::Variant& DestinationRS);
  // Sums the order's lines into the host's label array elements 1 to 7
  // (Caption, two decimals); leaves the set at its end. Ends silently at
  // the first failure.
  void CalculateHeaderTotals(const vb::Variant& pRS, const vb::Variant& plblOHeader);

  // The host's order screen (`FormName`, a Variant holding the form).
  // Each ends silently at its first failure (a control, index, data member
  // or column the host lacks), keeping what it wrote before.
  // Shows the product-details panel from the host's forecasting object.
  void SetProductDetails(const vb::Variant& pFormName, const vb::Variant& pForeCaster);
  // Releases the header controls' bindings and empties them (the total
  // labels become "", not zero); unbinds the order-lines grid.
  void ClearHeaderControls(const vb::Variant& FormName);
  // Binds the supplier and branch lists and shows the current order
  // header of KvtDBC(0)'s "Order_Headers", totals with two decimals.
  void BindOrderHeader(const vb::Variant& FormName);

  // Prints saved order `OrderID` (or previews it, modally, when
  // `pShowPreview`) through the thread's report output, in the layout the
  // user's saved preference under `pDatabase` picks, on the saved
  // purchase-order printer; `RePrint` marks it "Re-Print". Never raises:
  // each failing step is passed over.
  void ShowPurchaseOrder(int32_t OrderID, bool pShowPreview, const std::string& pDatabase,
                         bool RePrint = false);

  // Late binding. The slot of member `name` (case-insensitive) in the
  // published slot order; raises 438 for a name the class does not have.
  static int32_t SlotOf(std::string_view name);
  // Runs member `slot` or `name` as `kind`; a Let's value is the last
  // argument. Raises 438 for an unknown member or kind, 450 for a Let
  // without a value, and whatever the member itself raises.
  vb::Variant Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args);
  vb::Variant Invoke(std::string_view name, CallKind kind, std::span<vb::Variant> args);

 private:
  // The order item dialog's and the delivery dialog's properties by name.
  std::string LineText(std::string_view name) const;
  void LineText(std::string_view name, const std::string& value);
  int32_t LineNumber(std::string_view name) const;
  std::string DeliveryText(std::string_view name) const;
  void DeliveryText(std::string_view name, const std::string& value);
  bool DeliveryFlag(std::string_view name) const;
  void DeliveryFlag(std::string_view name, bool value);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kvt
