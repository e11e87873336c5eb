// frmEditGRVDetail — "Receive Item": the one dialog in which a voucher line
// of any kind is entered or corrected (goods received, goods returned,
// consignment received and returned). The line has no storage of its own:
// it is what these controls hold. CGRV fills the dialog, shows it, and reads
// the line back; the dialog keeps the figures consistent as the user edits.
//
// Control arrays: txtODEdit(0..5) KvEditableControls, txtODPercentage(0..2)
// trade/rebate/other %, lblODCalc(0..4) KvCalculatedControls with (5) total
// ordered and (6) received to date, lblODEdit(0..5) hidden carriers (key,
// product key, the quantity opened with, returned, sold, left),
// lblPDDisplay(0) product name, lblPDProductCode(0), lblPDSellingPrice(0),
// dbcODEdit(4) tax code list, lblOrderDetail(0..19) captions, lblState,
// cmdAction(0..1) KvActionBtn.
#pragma once

#include <cstdint>

#include "component/dialog.h"
#include "platform/ui/layout.h"
#include "platform/value/currency.h"
#include "vouchers/receive_calculation.h"

namespace kvt::ui {
class CommandButton;
class DataCombo;
class Label;
class TextBox;
}  // namespace kvt::ui

namespace kvt::vouchers {

inline constexpr const char* kStockReceiptsTitle = "Stock Receipts";
inline constexpr const char* kConsignmentReturnsTitle = "Consignment Stock Returns";

class frmEditGRVDetail : public component::Dialog {
 public:
  frmEditGRVDetail();

  bool IsLoaded() const override { return is_loaded_; }
  // Consignment-return mode, copied from CGRV.mbIsCRN at each show.
  bool IsCRN() const { return is_crn_; }
  void IsCRN(bool is_crn) { is_crn_ = is_crn; }
  // The rate of the selected tax code, in per cent (0 until one is chosen).
  float TaxRate() const { return tax_rate_; }

  // Recomputes the line from the input `selector` names and writes every
  // figure back; true when net + tax equals the total, which enables the
  // update button. Traps nothing: a failure (a net amount typed with no
  // quantity divides by zero) reaches the caller with the figures written
  // as far as they got.
  bool Calculate(int16_t selector);

  // The mode captions of a kvFormState value; other values change nothing.
  void SetFormState(int32_t state);

  ui::TextBox& txtODEdit(int index) { return Reach(txt_od_edit_, index); }
  ui::TextBox& txtODPercentage(int index) { return Reach(txt_od_percentage_, index); }
  ui::Label& lblODCalc(int index) { return Reach(lbl_od_calc_, index); }
  ui::Label& lblODEdit(int index) { return Reach(lbl_od_edit_, index); }
  ui::Label& lblOrderDetail(int index) { return Reach(lbl_order_detail_, index); }
  ui::Label& lblPDDisplay() { return Reach(lbl_pd_display_, 0); }
  ui::Label& lblPDProductCode() { return Reach(lbl_pd_product_code_, 0); }
  ui::Label& lblPDSellingPrice() { return Reach(lbl_pd_selling_price_, 0); }
  ui::Label& lblState();
  ui::DataCombo& dbcODEdit() { return Reach(dbc_od_edit_, 4); }
  ui::CommandButton& cmdAction(int index) { return Reach(cmd_action_, index); }

  // The control arrays CGRV's line properties live in, for DialogProperty.
  enum class Array {
    kTxtODEdit,
    kTxtODPercentage,
    kLblODCalc,
    kLblODEdit,
    kLblPDDisplay,
    kLblPDProductCode,
    kLblPDSellingPrice,
    kDbcODEdit
  };
  ui::Control& Element(Array array, int index);

 protected:
  void Build() override;
  void OnLoad() override;
  void OnUnload(bool& cancel) override;
  void OnActivate() override;

 private:
  void WireHandlers();
  void AmountFocused(int index);
  void AmountValidating(int index, bool& cancel);
  void AmountLeft(int index);
  void PercentageFocused(int index);
  void PercentageLeft(int index);
  void TaxCodeChanged();
  void ActionClicked(int index);
  // Enter moves on, as Tab does.
  void EnterActsAsTab(ui::EventArgs& args);

  bool is_loaded_ = false;
  bool is_crn_ = false;
  float tax_rate_ = 0;
  vb::Currency amount_entry_value_;
  vb::Currency percentage_entry_value_;
  ui::ControlArray<ui::TextBox> txt_od_edit_;
  ui::ControlArray<ui::TextBox> txt_od_percentage_;
  ui::ControlArray<ui::Label> lbl_od_calc_;
  ui::ControlArray<ui::Label> lbl_od_edit_;
  ui::ControlArray<ui::Label> lbl_order_detail_;
  ui::ControlArray<ui::Label> lbl_pd_display_;
  ui::ControlArray<ui::Label> lbl_pd_product_code_;
  ui::ControlArray<ui::Label> lbl_pd_selling_price_;
  ui::ControlArray<ui::DataCombo> dbc_od_edit_;
  ui::ControlArray<ui::CommandButton> cmd_action_;
  ui::Label* lbl_state_ = nullptr;
};

}  // namespace kvt::vouchers
