#include "orders/frmEditOrderDetail.h"

#include "platform/value/failure_style.h"
#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "orders/discount_formula.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::orders {
namespace {

using vb::Currency;

using enum ui::ControlKind;
using ui::kBold;
using ui::kCancelButton;
using ui::kDropDownList;
using ui::kPlain;
using ui::kRightAligned;

// Product figures down the left; entry boxes (quantities, price, discounts)
// and percentages on the right, then the formula lists, the calculated
// figures and the buttons. Creation order is tab order.
constexpr ui::ControlLayout kLayout[] = {
    {kLabel, "lblFormState", -1, 120, 120, 5400, 285, "Edit Item Details", kBold, nullptr, -1,
     "MS Sans Serif", 9.75},
    {kLabel, "lblODCaption", 0, 120, 480, 1200, 285, "Product ID", kPlain},
    {kLabel, "lblODEdit", 0, 1380, 480, 1200, 285, "", kRightAligned},
    {kLabel, "lblODCaption", 2, 7920, 120, 1200, 285, "Order No", kPlain},
    {kLabel, "lblODEdit", 2, 9180, 120, 2160, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 0, 120, 900, 900, 285, "Product", kPlain},
    {kLabel, "lblPDDisplay", 0, 1080, 900, 3060, 285, "", kPlain},
    {kLabel, "lblPDCaption", 1, 120, 1260, 1680, 285, "Selling Price 1", kPlain},
    {kLabel, "lblPDDisplay", 1, 1860, 1260, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 2, 120, 1620, 1680, 285, "Selling Price 2", kPlain},
    {kLabel, "lblPDDisplay", 2, 1860, 1620, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 3, 120, 1980, 1680, 285, "Lead Time (Days)", kPlain},
    {kLabel, "lblPDDisplay", 3, 1860, 1980, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 4, 120, 2340, 1680, 285, "Service Level", kPlain},
    {kLabel, "lblPDDisplay", 4, 1860, 2340, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 5, 120, 2700, 1680, 285, "Last Sale Date", kPlain},
    {kLabel, "lblPDDisplay", 5, 1860, 2700, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 6, 120, 3060, 1680, 285, "Stock On Hand", kPlain},
    {kLabel, "lblPDDisplay", 6, 1860, 3060, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 7, 120, 3420, 1680, 285, "Stock Reserved", kPlain},
    {kLabel, "lblPDDisplay", 7, 1860, 3420, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 8, 120, 3780, 1680, 285, "Qty On Order", kPlain},
    {kLabel, "lblPDDisplay", 8, 1860, 3780, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 9, 120, 4140, 1680, 285, "Orders Pending", kPlain},
    {kLabel, "lblPDDisplay", 9, 1860, 4140, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 10, 120, 4500, 1680, 285, "Shopping List Qty", kPlain},
    {kLabel, "lblPDDisplay", 10, 1860, 4500, 2280, 285, "", kRightAligned},
    {kLabel, "lblPDCaption", 11, 120, 4860, 1680, 285, "Last Cost", kPlain},
    {kLabel, "lblPDDisplay", 11, 1860, 4860, 2280, 285, "", kRightAligned},
    {kLabel, "lblODEditCaption", 0, 4440, 900, 1440, 285, "Order Qty", kPlain},
    {kTextBox, "txtODEdit", 0, 5940, 870, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 5, 4440, 1260, 1440, 285, "Back Order Qty", kPlain},
    {kTextBox, "txtODEdit", 5, 5940, 1230, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 6, 4440, 1620, 1440, 285, "Free Qty", kPlain},
    {kTextBox, "txtODEdit", 6, 5940, 1590, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 1, 4440, 1980, 1440, 285, "Unit Price", kPlain},
    {kTextBox, "txtODEdit", 1, 5940, 1950, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 2, 4440, 2340, 1440, 285, "Trade Disc", kPlain},
    {kTextBox, "txtODEdit", 2, 5940, 2310, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 3, 4440, 2700, 1440, 285, "Rebate Disc", kPlain},
    {kTextBox, "txtODEdit", 3, 5940, 2670, 1320, 315, "", kRightAligned},
    {kLabel, "lblODEditCaption", 4, 4440, 3060, 1440, 285, "Other Disc", kPlain},
    {kTextBox, "txtODEdit", 4, 5940, 3030, 1320, 315, "", kRightAligned},
    {kLabel, "lblPercentCaption", 0, 7380, 2340, 1200, 285, "Trade Disc %", kPlain},
    {kTextBox, "txtODPercentage", 0, 8640, 2310, 900, 315, "", kRightAligned},
    {kLabel, "lblPercentCaption", 1, 7380, 2700, 1200, 285, "Rebate Disc %", kPlain},
    {kTextBox, "txtODPercentage", 1, 8640, 2670, 900, 315, "", kRightAligned},
    {kLabel, "lblPercentCaption", 2, 7380, 3060, 1200, 285, "Other Disc %", kPlain},
    {kTextBox, "txtODPercentage", 2, 8640, 3030, 900, 315, "", kRightAligned},
    {kCheckBox, "chkUseFormula", 1, 4440, 3540, 2400, 285, "Trade Disc Formula", kPlain},
    {kDataCombo, "dbcODEdit", 1, 6900, 3510, 4440, 315, "", kDropDownList},
    {kCheckBox, "chkUseFormula", 2, 4440, 3900, 2400, 285, "Rebate Disc Formula", kPlain},
    {kDataCombo, "dbcODEdit", 2, 6900, 3870, 4440, 315, "", kDropDownList},
    {kCheckBox, "chkUseFormula", 3, 4440, 4260, 2400, 285, "Other Disc Formula", kPlain},
    {kDataCombo, "dbcODEdit", 3, 6900, 4230, 4440, 315, "", kDropDownList},
    {kLabel, "lblTaxCaption", -1, 4440, 4620, 2400, 285, "Tax Code", kPlain},
    {kDataCombo, "dbcODEdit", 4, 6900, 4590, 4440, 315, "", kDropDownList},
    {kLabel, "lblODCalcCaption", 0, 4440, 5100, 1440, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 0, 5940, 5100, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 1, 4440, 5460, 1440, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 1, 5940, 5460, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 2, 4440, 5820, 1440, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 2, 5940, 5820, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 3, 4440, 6180, 1440, 285, "Net Amount", kPlain},
    {kLabel, "lblODCalc", 3, 5940, 6180, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 4, 7920, 5100, 1440, 285, "Tax", kPlain},
    {kLabel, "lblODCalc", 4, 9420, 5100, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 5, 7920, 5460, 1440, 285, "Average%", kPlain},
    {kLabel, "lblODCalc", 5, 9420, 5460, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 6, 7920, 5820, 1440, 285, "Total Cost", kPlain},
    {kLabel, "lblODCalc", 6, 9420, 5820, 1500, 285, "", kRightAligned},
    {kLabel, "lblODCalcCaption", 7, 7920, 6180, 1440, 285, "New Cost/Unit", kPlain},
    {kLabel, "lblODCalc", 7, 9420, 6180, 1500, 285, "", kRightAligned},
    {kCommandButton, "cmdAction", 0, 6840, 6780, 1440, 420, "Update Changes", kPlain},
    {kCommandButton, "cmdAction", 1, 8400, 6780, 1440, 420, "Cancel", kCancelButton},
    {kCommandButton, "cmdAction", 2, 9960, 6780, 1440, 420, "Apply", kPlain},

};

std::string Amount(const services::NumberFormatService& formatter, const vb::Variant& value) {
  return formatter.FormatAmount(value, 2, -1, 0, -1);
}

// Holds a flag set for a scope, so that a failure inside cannot leave the
// dialog believing it is still calculating.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// The pending trigger each entry box sets when its text changes and when
// it is left: a typed discount restarts the chain after itself once left.
constexpr int32_t kTriggerOnChange[7] = {kTriggerQuantity,
                                         kTriggerTrade,
                                         kTriggerTrade,
                                         kTriggerRebate,
                                         kTriggerNone,
                                         kTriggerQuantity,
                                         0};
constexpr int32_t kTriggerOnLeave[7] = {kTriggerQuantity,
                                        kTriggerTrade,
                                        kTriggerRebate,
                                        kTriggerOther,
                                        kTriggerNone,
                                        kTriggerQuantity,
                                        0};

// The trigger a discount's formula selection recalculates from.
int32_t SelectionTrigger(int list) { return list + 1; }

}  // namespace

// The dialog's formula steps for LineCalculation: a ticked box evaluates the
// selected formula on the subtotal; "0" means no discount.
class frmEditOrderDetail::FormulaSteps : public DiscountFormulaStep {
 public:
  FormulaSteps(frmEditOrderDetail& form, const LineCalculation& calc) : form_(form), calc_(calc) {}

  void Apply(Discount discount, Currency subtotal, Currency& amount) override {
    const int index = static_cast<int>(discount);
    if (form_.chkUseFormula(index).Value() != ui::vbChecked) return;
    // Reload the text: a previous evaluation left the expanded expression.
    form_.ListSelected(index);
    std::string& formula = form_.formula_texts_[static_cast<size_t>(index)];
    if (formula == "0") {
      amount = Currency();
      return;
    }
    Currency answer = amount;
    if (EvaluateFormula(form_.script_, answer, vb::CStr(subtotal), "", formula)) {
      amount = calc_.RoundToCents(answer);
    } else {
      ui::MsgBox(kInvalidFormulaMessage, ui::vbOKOnly | ui::vbInformation, kPurchaseOrdersTitle);
    }
  }

 private:
  frmEditOrderDetail& form_;
  const LineCalculation& calc_;
};

frmEditOrderDetail::frmEditOrderDetail() : Dialog("frmEditOrderDetail") {
  // Cancel unloads the dialog and the line goes with it.
  DiscardControlsOnUnload(true);
}

void frmEditOrderDetail::Build() {
  Caption("Edit Details");
  Size(11520, 7440);
  AddControls(kLayout);
  txt_od_edit_.Collect(ArrayElements("txtODEdit"));
  txt_od_percentage_.Collect(ArrayElements("txtODPercentage"));
  lbl_od_calc_.Collect(ArrayElements("lblODCalc"));
  lbl_od_edit_.Collect(ArrayElements("lblODEdit"));
  lbl_pd_display_.Collect(ArrayElements("lblPDDisplay"));
  chk_use_formula_.Collect(ArrayElements("chkUseFormula"));
  dbc_od_edit_.Collect(ArrayElements("dbcODEdit"));
  cmd_action_.Collect(ArrayElements("cmdAction"));
  lbl_form_state_ = &Ctl<ui::Label>("lblFormState");
  // A fresh set of controls is a fresh line: nothing of the last one stays.
  binding_state_ = is_calculating_ = calculation_guard_ = false;
  pending_trigger_ = 0;
  formula_texts_ = {};
  tax_rate_ = 0;
  WireHandlers();
}

void frmEditOrderDetail::WireHandlers() {
  for (int i = 0; i < 7; ++i) {
    ui::TextBox& box = txt_od_edit_[i];
    box.On(ui::Event::kChange, [this, i](ui::EventArgs&) { EntryChanged(i); });
    box.On(ui::Event::kGotFocus, [this, i](ui::EventArgs&) { txtODEdit(i).Select(0, 1000); });
    box.On(ui::Event::kLostFocus, [this, i](ui::EventArgs&) { EntryLeft(i); });
    box.On(ui::Event::kKeyUp, [this](ui::EventArgs& args) {
      if (args.key_code == ui::vbKeyReturn) ActionClicked(2);
    });
  }
  // Leaving a percentage rewrites its discount amount.
  for (int p = 0; p < 3; ++p) {
    ui::TextBox& percent = txt_od_percentage_[p];
    percent.On(ui::Event::kGotFocus,
               [this, p](ui::EventArgs&) { txtODPercentage(p).Select(0, 1000); });
    percent.On(ui::Event::kLostFocus, [this, p](ui::EventArgs&) { PercentageLeft(p); });
    percent.On(ui::Event::kKeyUp, [this, p](ui::EventArgs& args) {
      if (args.key_code != ui::vbKeyReturn) return;
      PercentageLeft(p);
      ActionClicked(2);
    });
  }
  for (int i = 1; i <= 4; ++i) {
    ui::DataCombo& list = dbc_od_edit_[i];
    list.On(ui::Event::kChange, [this, i](ui::EventArgs&) { ListSelected(i); });
    list.On(ui::Event::kClick, [this, i](ui::EventArgs&) { ListClicked(i); });
  }
  for (int i = 0; i < 3; ++i) {
    cmd_action_[i].On(ui::Event::kClick, [this, i](ui::EventArgs&) { ActionClicked(i); });
  }
}

void frmEditOrderDetail::OnLoad() {
  is_loaded_ = true;
  // Only possible once shown; loading hidden is the usual case.
  vb::StopSilently([this] { txtODEdit(0).SetFocus(); });
}

void frmEditOrderDetail::OnUnload(bool&) { is_loaded_ = false; }

ui::Label& frmEditOrderDetail::lblFormState() {
  EnsureBuilt();
  return *lbl_form_state_;
}

ui::Control& frmEditOrderDetail::Element(Array array, int index) {
  switch (array) {
    case Array::kTxtODEdit: return txtODEdit(index);
    case Array::kLblODCalc: return lblODCalc(index);
    case Array::kLblODEdit: return lblODEdit(index);
    case Array::kLblPDDisplay: return lblPDDisplay(index);
    case Array::kDbcODEdit: return dbcODEdit(index);
    case Array::kCmdAction: return cmdAction(index);
    case Array::kLblFormState: return lblFormState();
  }
  throw vb::Error::SubscriptOutOfRange(TypeName());
}

const std::string& frmEditOrderDetail::FormulaText(int discount) const {
  return formula_texts_.at(static_cast<size_t>(discount));
}

void frmEditOrderDetail::ResetFormulaToNone(int index) {
  FlagScope guard(calculation_guard_);
  chkUseFormula(index).Value(ui::vbUnchecked);
  dbcODEdit(index).BoundText("1");
}

void frmEditOrderDetail::EntryChanged(int index) {
  if (binding_state_ || is_calculating_ || index == 6) return;
  vb::StopSilently([&] {
    if (index >= 2 && index <= 4) {
      // A typed amount replaces the discount's formula.
      if (calculation_guard_) return;
      ResetFormulaToNone(index - 1);
    }
    pending_trigger_ = kTriggerOnChange[index];
  });
}

void frmEditOrderDetail::EntryLeft(int index) {
  if (binding_state_ || index == 6) return;
  vb::StopSilently([&] {
    if (index >= 2 && index <= 4) {
      FlagScope guard(calculation_guard_);
      dbcODEdit(index - 1).BoundText("1");
    }
    pending_trigger_ = kTriggerOnLeave[index];
  });
}

void frmEditOrderDetail::PercentageLeft(int index) {
  vb::StopSilently([&] {
    const std::string& text = txtODPercentage(index).Text();
    if (text.empty()) return;
    Currency base = vb::CCur(lblODCalc(index).Caption());
    Currency amount = LineCalculation::PercentageAmount(base, vb::CDbl(text));
    txtODEdit(index + 2).Text(vb::CStr(amount));
    DoCalculation(pending_trigger_);
  });
}

void frmEditOrderDetail::ListSelected(int index) {
  vb::StopSilently([&] {
    ui::DataCombo& list = dbcODEdit(index);
    int row = list.SelectedRow();
    if (row < 0) return;
    auto rows = std::dynamic_pointer_cast<data::RecordSet>(list.RowSource());
    if (!rows) return;
    rows->MoveFirst();
    for (int i = 0; i < row; ++i) rows->MoveNext();
    vb::Variant column2 = rows->Item(2).Value();
    if (index <= 3) {
      formula_texts_[static_cast<size_t>(index)] = vb::CStr(column2);
      if (calculation_guard_) return;
      if (chkUseFormula(index).Value() == ui::vbChecked && !binding_state_) {
        FlagScope calculating(is_calculating_);
        DoCalculation(SelectionTrigger(index));
      }
    } else {
      tax_rate_ = vb::CSng(column2);
      if (calculation_guard_ || binding_state_) return;
      FlagScope calculating(is_calculating_);
      DoCalculation(kTriggerNone);
    }
  });
}

void frmEditOrderDetail::ListClicked(int index) {
  if (index >= 1 && index <= 3) {
    vb::StopSilently([&] { chkUseFormula(index).Value(ui::vbChecked); });
  }
}

void frmEditOrderDetail::ActionClicked(int index) {
  vb::StopSilently([&] {
    ui::TextBox& quantity = txtODEdit(0);
    if (!vb::IsNumeric(quantity.Text())) quantity.Text("0");
    if (index == 1) {
      Unload();
      return;
    }
    double q = vb::CDbl(quantity.Text());
    if (!OrderQuantityInRange(q)) {
      ui::MsgBox(
          "The Order Qty exceeds the allowable range.\r\n\r\nPlease change "
          "the Order Qty.",
          ui::vbOKOnly | ui::vbInformation, kPurchaseOrdersTitle);
      vb::StopSilently([&] { quantity.SetFocus(); });
      return;
    }
    DoCalculation(pending_trigger_);
    if (index == 0) Hide();
  });
}

vb::Variant frmEditOrderDetail::EntryValue(int index) {
  return component::GetControlValue(vb::ObjectRef(txtODEdit(index).shared_from_this()));
}

LineInputs frmEditOrderDetail::ReadInputs() {
  auto number = [this](int index) { return vb::CDbl(EntryValue(index)); };
  auto amount = [this](int index) { return vb::CCur(EntryValue(index)); };
  LineInputs line;
  line.order_qty = number(0);
  line.back_order_qty = number(5);
  line.price = amount(1);
  line.trade = amount(2);
  line.rebate = amount(3);
  line.other = amount(4);
  return line;
}

void frmEditOrderDetail::DoCalculation(int32_t trigger) {
  vb::StopSilently([&] {
    const services::NumberFormatService& formatter = component::ThreadStore().NumberFormat();
    LineCalculation calc(formatter);
    LineInputs line = ReadInputs();
    const double free_qty = vb::CDbl(EntryValue(6));

    calculation_guard_ = true;
    FormulaSteps steps(*this, calc);
    calc.RunDiscountChain(trigger, line, steps);
    ListSelected(4);  // reload the tax rate
    LineFigures figures = calc.Figures(line, tax_rate_);

    const vb::Variant entries[7] = {line.order_qty, line.price,          line.trade, line.rebate,
                                    line.other,     line.back_order_qty, free_qty};
    for (int i = 0; i < 7; ++i) txtODEdit(i).Text(Amount(formatter, entries[i]));
    const vb::Variant calculated[7] = {figures.gross, figures.after_trade, figures.after_rebate,
                                       figures.net,   figures.tax,         figures.average_percent,
                                       figures.total};
    for (int i = 0; i < 7; ++i) lblODCalc(i).Caption(Amount(formatter, calculated[i]));
    if (figures.new_cost_per_unit) {
      lblODCalc(7).Caption(Amount(formatter, *figures.new_cost_per_unit));
    }
    const double percents[3] = {figures.trade_percent, figures.rebate_percent,
                                figures.other_percent};
    for (int i = 0; i < 3; ++i) txtODPercentage(i).Text(Amount(formatter, percents[i]));
  });
  calculation_guard_ = false;
}

void frmEditOrderDetail::CalcItemSubTotals() {
  vb::StopSilently([this] {
    const services::NumberFormatService& formatter = component::ThreadStore().NumberFormat();
    LineCalculation calc(formatter);
    LineInputs line = ReadInputs();
    Currency tax = vb::CCur(lblODCalc(4).Caption());
    SubTotalFigures s = calc.SubTotals(line, tax);
    const Currency values[7] = {s.gross, s.after_trade,     s.after_rebate, s.net,
                                s.tax,   s.average_percent, s.total};
    for (int i = 0; i < 7; ++i) lblODCalc(i).Caption(Amount(formatter, values[i]));
  });
}

}  // namespace kvt::orders
