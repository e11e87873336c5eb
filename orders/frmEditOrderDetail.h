// frmEditOrderDetail — the order item dialog: one purchase-order line being
// added or edited. The line has no storage of its own; it is what these
// controls hold. COrder fills the dialog, shows it, and reads it back.
//
// Control arrays: lblPDDisplay(0..11) product figures, lblODEdit(0) product
// ID and (2) order number, txtODEdit(0..6) entry boxes (KvEditableControls
// order, then back-order and free quantity), txtODPercentage(0..2),
// chkUseFormula(1..3), dbcODEdit(1..4) (KvFormulaType order), lblODCalc(0..7)
// calculated figures, cmdAction(0..2) (KvActionBtn order).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "component/dialog.h"
#include "orders/line_calculation.h"
#include "platform/script/script_control.h"
#include "platform/ui/layout.h"

namespace kvt::ui {
class CheckBox;
class CommandButton;
class DataCombo;
class Label;
class TextBox;
}  // namespace kvt::ui

namespace kvt::orders {

inline constexpr const char* kPurchaseOrdersTitle = "Purchase Orders";
inline constexpr const char* kInvalidFormulaMessage = "Invalid Formula. Please select another one";

class frmEditOrderDetail : public component::Dialog {
 public:
  frmEditOrderDetail();

  bool IsLoaded() const override { return is_loaded_; }

  // While set, the controls' change handling is suspended (COrder's fills).
  bool BindingState() const { return binding_state_; }
  void BindingState(bool binding) { binding_state_ = binding; }
  // Set around recalculations started by code; suspends change handling.
  bool IsCalculating() const { return is_calculating_; }
  void IsCalculating(bool calculating) { is_calculating_ = calculating; }
  // True while DoCalculation runs.
  bool CalculationGuard() const { return calculation_guard_; }
  // The trigger the next accept or apply recalculates with.
  int32_t PendingTrigger() const { return pending_trigger_; }

  // Recalculates the line from the input that changed (`trigger`, one of
  // the kTrigger* values): discount formulas from that step on, then every
  // figure, written back with two decimals. Ends silently at the first
  // error (text that is no number, an overflow); an invalid formula is
  // reported to the user and its discount keeps its amount.
  void DoCalculation(int32_t trigger);
  // Refreshes the calculated labels from the entry boxes without formulas
  // or tax rate; the average discount is taken over the net amount. Ends
  // silently at its first error (a zero net amount among them).
  void CalcItemSubTotals();

  // The formula text stored for discount 1..3 (the expanded expression
  // after an evaluation), and the tax rate of the selected tax code.
  const std::string& FormulaText(int discount) const;
  float TaxRate() const { return tax_rate_; }

  script::ScriptControl& msMain() { return script_; }

  // The controls, for COrder's line properties and the tests. Each loads
  // the form first, as reaching a control does on the platform.
  ui::TextBox& txtODEdit(int index) { return Reach(txt_od_edit_, index); }
  ui::TextBox& txtODPercentage(int index) { return Reach(txt_od_percentage_, index); }
  ui::Label& lblODCalc(int index) { return Reach(lbl_od_calc_, index); }
  ui::Label& lblODEdit(int index) { return Reach(lbl_od_edit_, index); }
  ui::Label& lblPDDisplay(int index) { return Reach(lbl_pd_display_, index); }
  ui::Label& lblFormState();
  ui::CheckBox& chkUseFormula(int index) { return Reach(chk_use_formula_, index); }
  ui::DataCombo& dbcODEdit(int index) { return Reach(dbc_od_edit_, index); }
  ui::CommandButton& cmdAction(int index) { return Reach(cmd_action_, index); }

  // The control arrays COrder's properties live in, for DialogProperty.
  enum class Array {
    kTxtODEdit,
    kLblODCalc,
    kLblODEdit,
    kLblPDDisplay,
    kDbcODEdit,
    kCmdAction,
    kLblFormState
  };
  ui::Control& Element(Array array, int index);

 protected:
  void Build() override;
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  class FormulaSteps;

  void WireHandlers();
  void EntryChanged(int index);
  void EntryLeft(int index);
  void PercentageLeft(int index);
  void ListSelected(int index);
  void ListClicked(int index);
  void ActionClicked(int index);
  // Selects formula 1 in list `index` with the guard set, so that the
  // selection stores its text without recalculating.
  void ResetFormulaToNone(int index);
  // An entry box's value as the value helpers read controls.
  vb::Variant EntryValue(int index);
  LineInputs ReadInputs();

  bool is_loaded_ = false;
  bool binding_state_ = false;
  bool is_calculating_ = false;
  bool calculation_guard_ = false;
  int32_t pending_trigger_ = 0;
  std::array<std::string, 4> formula_texts_;  // [1..3] used
  float tax_rate_ = 0;
  script::ScriptControl script_;
  ui::ControlArray<ui::TextBox> txt_od_edit_;
  ui::ControlArray<ui::TextBox> txt_od_percentage_;
  ui::ControlArray<ui::Label> lbl_od_calc_;
  ui::ControlArray<ui::Label> lbl_od_edit_;
  ui::ControlArray<ui::Label> lbl_pd_display_;
  ui::ControlArray<ui::CheckBox> chk_use_formula_;
  ui::ControlArray<ui::DataCombo> dbc_od_edit_;
  ui::ControlArray<ui::CommandButton> cmd_action_;
  ui::Label* lbl_form_state_ = nullptr;
};

}  // namespace kvt::orders
