// CGRV — what the host's goods-received, goods-returned and consignment
// screens drive: the voucher queries, the voucher line in the receive item
// dialog and its detail rows, the voucher header and totals, the save
// voucher dialog with its posting-period rules, and the printed vouchers.
//
// Every COrder and CGRV on a thread shares one store of settings and
// dialogs; a CGRV's only state of its own is mbIsCRN. Record sets and host
// objects travel as Variants holding the object. All members run on the
// host's user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "kvt/enumerations.h"
#include "kvt/export.h"
#include "kvt/shared_settings.h"
#include "platform/value/date.h"
#include "platform/value/variant.h"

namespace kvt {

class KVT_EXPORT CGRV : public SharedSettings {
 public:
  CGRV();
  ~CGRV();
  CGRV(const CGRV&) = delete;
  CGRV& operator=(const CGRV&) = delete;
  CGRV(CGRV&&) noexcept;
  CGRV& operator=(CGRV&&) noexcept;

  // Set while the host works on a consignment returned voucher; false on
  // creation; this instance's own. ShowGRVDetailForm copies it into the
  // dialog each time it shows it.
  bool mbIsCRN() const;
  void mbIsCRN(bool value);

  // ---- Voucher queries. Each opens a new connection with the shared
  // connection text, runs its procedure and hands the record set to the
  // host. Any failure raises -2147219004 (vbObjectError + 2500) with the
  // operation's own source text and the failure's description.
  // A supplier's orders in the company still open for receiving.
  vb::Variant GetOutstandingOrders(int16_t SuppliersID, int32_t pCompanyID);
  // The outstanding lines of one order: the rows AssignAllForAdding takes.
  vb::Variant GetOutstandingOrdersDetails(int32_t OrderID);
  // A supplier's goods received vouchers, and the lines of one of them
  // (the rows AssignAllForReturnAdding takes).
  vb::Variant GetReceivedGRV(int16_t SuppliersID, int32_t pCompanyID);
  vb::Variant GetReceivedGRVDetails(int32_t pGRVID);
  // A supplier's consignment received vouchers, and the lines of one of
  // them with their consignment quantities.
  vb::Variant GetReceivedCRV(int16_t SuppliersID, int32_t pCompanyID);
  vb::Variant GetReceivedCRVDetails(int32_t pGRVID);

  // ---- Receive item dialog lifecycle. None raises.
  void LoadGRVDetailForm();
  void UnloadGRVDetailForm();
  // Creates and loads the dialog if there is none, copies mbIsCRN into it
  // and shows it modally; returns when the user has confirmed the line
  // (dialog hidden, still loaded) or cancelled it (dialog unloaded).
  void ShowGRVDetailForm();
  void HideGRVDetailForm();
  // True while the dialog is loaded; false with none.
  bool IsGRVDetailFormLoaded();
  // Binds the dialog's lookup list of kind `pFormula` (the tax code list
  // for KvTAXCODE). Never raises.
  void BindFormulaDBC(KvFormulaType pFormula);
  // The mode captions: "Qty Received Now"/"Add"/"Add ..." when adding,
  // "Update"/"Edit ..." when editing, "Qty Returned Now"/"Return ..." when
  // returning. Any other value changes nothing. Ends silently on failure.
  void Set_Form_State(kvFormState value);

  // ---- The line in the receive item dialog. Each property reads or writes
  // its control as text, unchanged: no formatting, no check. A property
  // used with no dialog creates and loads a fresh one; after Cancel or
  // UnloadGRVDetailForm the line is gone. They trap nothing.
  std::string FK_ID() const { return LineText("FK_ID"); }
  void FK_ID(const std::string& value) { LineText("FK_ID", value); }
  std::string Product_ID() const { return LineText("Product_ID"); }
  void Product_ID(const std::string& value) { LineText("Product_ID", value); }
  std::string Product_Name() const { return LineText("Product_Name"); }
  void Product_Name(const std::string& value) { LineText("Product_Name", value); }
  std::string Product_Code() const { return LineText("Product_Code"); }
  void Product_Code(const std::string& value) { LineText("Product_Code", value); }
  // The selling price shown for reference.
  std::string Price1() const { return LineText("Price1"); }
  void Price1(const std::string& value) { LineText("Price1", value); }
  void Total_Ordered(const std::string& value) { LineText("Total_Ordered", value); }
  void Total_Received(const std::string& value) { LineText("Total_Received", value); }
  // Writing also keeps a copy of the quantity the line was opened with.
  std::string Received_Qty() const { return LineText("Received_Qty"); }
  void Received_Qty(const std::string& value) { LineText("Received_Qty", value); }
  // The consignment quantities of the line.
  std::string Returned_Qty() const { return LineText("Returned_Qty"); }
  void Returned_Qty(const std::string& value) { LineText("Returned_Qty", value); }
  std::string Sold_Qty() const { return LineText("Sold_Qty"); }
  void Sold_Qty(const std::string& value) { LineText("Sold_Qty", value); }
  std::string Left_Qty() const { return LineText("Left_Qty"); }
  void Left_Qty(const std::string& value) { LineText("Left_Qty", value); }
  std::string Unit_Price() const { return LineText("Unit_Price"); }
  void Unit_Price(const std::string& value) { LineText("Unit_Price", value); }
  std::string Trade_Discount() const { return LineText("Trade_Discount"); }
  void Trade_Discount(const std::string& value) { LineText("Trade_Discount", value); }
  std::string Rebate_Discount() const { return LineText("Rebate_Discount"); }
  void Rebate_Discount(const std::string& value) { LineText("Rebate_Discount", value); }
  std::string Other_Discount() const { return LineText("Other_Discount"); }
  void Other_Discount(const std::string& value) { LineText("Other_Discount", value); }
  void Trade_Discount_Percentage(const std::string& value) {
    LineText("Trade_Discount_Percentage", value);
  }
  void Rebate_Discount_Percentage(const std::string& value) {
    LineText("Rebate_Discount_Percentage", value);
  }
  void Other_Discount_Percentage(const std::string& value) {
    LineText("Other_Discount_Percentage", value);
  }
  std::string Net_Amount() const { return LineText("Net_Amount"); }
  void Net_Amount(const std::string& value) { LineText("Net_Amount", value); }
  // The tax code's key (the list's bound value) and its text as shown.
  std::string Tax_Code_ID() const { return LineText("Tax_Code_ID"); }
  void Tax_Code_ID(const std::string& value) { LineText("Tax_Code_ID", value); }
  std::string Tax_Code() const { return LineText("Tax_Code"); }
  void Tax_Code(const std::string& value) { LineText("Tax_Code", value); }
  std::string Tax_Amount() const { return LineText("Tax_Amount"); }
  void Tax_Amount(const std::string& value) { LineText("Tax_Amount", value); }
  std::string Total_Cost() const { return LineText("Total_Cost"); }
  void Total_Cost(const std::string& value) { LineText("Total_Cost", value); }

  // ---- Filling the line from a row (the set stays on that row). Each ends
  // silently at its first failure (a missing column, a closed set or one
  // at its end), keeping what it wrote; the line is then not calculated.
  // A received line from an outstanding order line (GetOutstandingOrdersDetails).
  void AssignAllForAdding(const vb::Variant& pDetailSourceRS);
  // A received line being corrected, from the voucher's own detail row.
  void AssignAllForEditing(const vb::Variant& pRSGRVDetail);
  // A returned line from a received voucher's line (GetReceivedGRVDetails).
  void AssignAllForReturnAdding(const vb::Variant& pRSGRVDetail);
  // As AssignAllForAdding, then only the quantity stays open, for the life
  // of the dialog instance.
  void AssignAllForCRVAdding(const vb::Variant& pDetailSourceRS);
  // As AssignAllForEditing, with the consignment quantities.
  void AssignAllForCRVEditing(const vb::Variant& pRSGRVDetail);
  // A consignment returned line from a received consignment line
  // (GetReceivedCRVDetails), proposing the quantity left.
  void AssignAllForCRVReturnAdding(const vb::Variant& pRSGRVDetail);

  // ---- Writing the line into the host's voucher detail set; each stops
  // silently at the first failure. Adding appends and saves a row and
  // leaves it current; updating overwrites the current row (never "FK ID")
  // and leaves the change pending. The CRV forms add "Qty Returned",
  // "Qty Sold" and "Qty Left".
  void AddGRVDetailToRS(const vb::Variant& DestinationRS);
  void UpdateGRVDetailRS(const vb::Variant& DestinationRS);
  void AddCRVDetailToRS(const vb::Variant& DestinationRS);
  void UpdateCRVDetailRS(const vb::Variant& DestinationRS);

  // ---- The host's voucher header (kvHeaderEdit positions). The first
  // four never raise: a step that fails is skipped.
  // Order number (label element 2 Caption) and supplier reference (text
  // box element 3 Text) of the chosen order row; a Null leaves its control.
  void InsertOrderHeaderValues(const vb::Variant& rs, const vb::Variant& pLabel,
                               const vb::Variant& pTxtBox);
  // The chosen voucher row's delivery note number into pLabel's Caption.
  void InsertGRVHeaderValues(const vb::Variant& rs, const vb::Variant& pLabel);
  // Empties text boxes 1 and 3 and labels 2 and 4 to 9.
  void ClearHeaderControls(const vb::Variant& pTxtBox, const vb::Variant& pLabel);
  // Empties text box 1 and labels 4 to 9.
  void ClearReturnHeaderControls(const vb::Variant& pTxtBox, const vb::Variant& pLabel);
  // The six totals of the detail rows into elements 4 to 9 of pCalcLabel
  // ("1,234.50"), the set left where it stood. Traps nothing: a missing
  // column, a value that is no number or an element without Text raises.
  void CalculateHeaderTotals(const vb::Variant& rs, const vb::Variant& pCalcLabel);
  // Whether the host may switch to voucher function `FuncType`: true with
  // no record set; for 0 and 1 true while the set has no rows; otherwise
  // false. Traps nothing.
  bool CanChangeFunction(uint8_t FuncType, const vb::Variant& GRVDetailRS);

  // ---- Save voucher dialog. The lifecycle members never raise.
  void LoadGRVSaveForm();
  void UnloadGRVSaveForm();
  void HideGRVSaveForm();
  bool IsGRVSaveFormLoaded();
  // Fills the dialog before it is shown: the month and year lists, the
  // document number and date, the company's posting settings and the
  // proposed period. Stores pCompanyID as the shared CompanyID. Ends
  // silently at its first failure.
  void BindSaveFormLups(const vb::Variant& pMonthsRS, const vb::Variant& pYearsRS,
                        const std::string& pDocNo, const vb::Date& pDocDate, int32_t pCompanyID);
  // Shows the dialog modally with the captions of transaction type
  // `pTranType` (19, 20, 31, 32). Returns when the user confirmed (dialog
  // hidden) or cancelled (dialog unloaded).
  void ShowGRVSaveForm(uint8_t pTranType);
  // The user's answers, read after the dialog closes. Each raises 91
  // without a dialog.
  bool Save_Supplier_Inv() const;
  std::string Supplier_Inv_No() const;
  // Today when the picker holds no date.
  vb::Date Supplier_Inv_Date() const;
  // The chosen period's month and year key; 0 when none is chosen.
  uint8_t Acc_Period_Month() const;
  int16_t Acc_Period_Year() const;

  // ---- Previews voucher `pGRVID` modally on the layout of its kind and the
  // user's saved preference under `pDatabase`, on the saved voucher
  // printer; `RePrint` marks it "Copy". pCompanyID is not used. Never
  // raises: each failing step is passed over.
  void ShowGRVReport(int32_t pGRVID, int32_t pCompanyID, const std::string& pDatabase,
                     bool RePrint = false);

  // Late binding. The slot of member `name` (case-insensitive) in the
  // published slot order; raises 438 for a name the class does not have.
  static int32_t SlotOf(std::string_view name);
  // Runs member `slot` or `name` as `kind`; a Let's value is the last
  // argument. Raises 438 for an unknown member or kind, 450 for a wrong
  // number of arguments, and whatever the member itself raises.
  vb::Variant Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args);
  vb::Variant Invoke(std::string_view name, CallKind kind, std::span<vb::Variant> args);

 private:
  // The receive item dialog's properties by name.
  std::string LineText(std::string_view name) const;
  void LineText(std::string_view name, const std::string& value);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kvt
