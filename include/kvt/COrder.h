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
#include "platform/value/variant.h"

namespace kvt {

class KVT_EXPORT COrder {
 public:
  COrder();
  ~COrder();
  COrder(const COrder&) = delete;
  COrder& operator=(const COrder&) = delete;
  COrder(COrder&&) noexcept;
  COrder& operator=(COrder&&) noexcept;

  // Shared settings (seen by every COrder and CGRV on the thread; last
  // write wins; there are no getters). UserID is kept and never read.
  void ConnectionString(const std::string& value);
  void CompanyID(int32_t value);
  void UserID(int32_t value);
  void QtyDecimals(int32_t value);
  void PriceDecimals(int32_t value);

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
  std::string Order_No() const;
  void Order_No(const std::string& value);
  std::string Date_Ordered() const;
  void Date_Ordered(const std::string& value);
  std::string Supplier_Name() const;
  void Supplier_Name(const std::string& value);
  std::string Created_By() const;
  void Created_By(const std::string& value);
  std::string Del_Name() const;
  void Del_Name(const std::string& value);
  std::string Del_Address1() const;
  void Del_Address1(const std::string& value);
  std::string Del_Address2() const;
  void Del_Address2(const std::string& value);
  std::string Del_Address3() const;
  void Del_Address3(const std::string& value);
  std::string Del_PostCode() const;
  void Del_PostCode(const std::string& value);
  // Whether "Save Order now and Print Order" can be chosen. Disabling it
  // does not change the choice.
  bool Process_Order_Enabled() const;
  void Process_Order_Enabled(bool value);
  // Whether "Save as a Pending Order" can be chosen.
  bool Save_Order_Enabled() const;
  void Save_Order_Enabled(bool value);
  // True: "Save Order now and Print Order"; false: "Save as a Pending
  // Order".
  bool OrderNow() const;
  // The "Show Preview" choice; a greyed check box counts as true.
  bool Show_Report_Preview() const;

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
  void Product_Name(const std::string& value);
  void Selling_Price_1(const std::string& value);
  void Selling_Price_2(const std::string& value);
  void Last_Sale_Date(const std::string& value);
  void Stock_On_Hand(const std::string& value);
  void Stock_Reserved(const std::string& value);
  void Qty_On_Order(const std::string& value);
  void Orders_Pending(const std::string& value);
  void Shopping_List_Qty(const std::string& value);
  void Last_Cost(const std::string& value);
  void ODOrder_Number(const std::string& value);
  void Form_Caption(const std::string& value);
  void Form_State_Label(const std::string& value);
  void Cmd_Action_Caption(const std::string& value);
  int32_t Product_ID() const;
  void Product_ID(int32_t value);
  std::string Back_Order_Qty() const;
  void Back_Order_Qty(const std::string& value);
  std::string Free_Qty() const;
  void Free_Qty(const std::string& value);
  // Lead time and service level are shown, not read back: both read "".
  std::string Lead_Time() const;
  void Lead_Time(const std::string& value);
  std::string Service_Level() const;
  void Service_Level(const std::string& value);
  std::string Order_Qty() const;
  void Order_Qty(const std::string& value);
  std::string Unit_Price() const;
  void Unit_Price(const std::string& value);
  std::string Trade_Disc_Formula() const;
  void Trade_Disc_Formula(const std::string& value);
  std::string Trade_Discount() const;
  void Trade_Discount(const std::string& value);
  std::string Rebate_Disc_Formula() const;
  void Rebate_Disc_Formula(const std::string& value);
  std::string Rebate_Discount() const;
  void Rebate_Discount(const std::string& value);
  std::string Other_Disc_Formula() const;
  void Other_Disc_Formula(const std::string& value);
  std::string Other_Discount() const;
  void Other_Discount(const std::string& value);
  std::string Tax_Code() const;
  void Tax_Code(const std::string& value);
  std::string Tax() const;
  void Tax(const std::string& value);
  std::string Net_Amount() const;
  void Net_Amount(const std::string& value);
  std::string Total_Cost() const;
  void Total_Cost(const std::string& value);

  // Fills the dialog's lookup list `pFormula` from the database for the
  // shared company. Never raises.
  void BindFormulaDBC(KvFormulaType pFormula);
  // Record sets and host objects travel as Variants holding the object.
  // Prepares the dialog for a new line from the product row the set is on
  // (Null columns take defaults); ends silently at the first failure.
  void AssignAllForAdding(const vb::Variant& pRSProductDetail, double pOrderQty,
                          const std::string& pOrderNo);
  // Prepares the dialog for the order-detail row `pRSOrderDetail` is on.
  void AssignAllForEditing(const vb::Variant& pRSProductDetail,
                           const vb::Variant& pRSOrderDetail,
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
  vb::Variant Invoke(std::string_view name, CallKind kind,
                     std::span<vb::Variant> args);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kvt
