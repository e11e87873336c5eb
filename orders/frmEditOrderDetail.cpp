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

constexpr const char* kProductCaptions[12] = {
    "Product",        "Selling Price 1", "Selling Price 2", "Lead Time (Days)",
    "Service Level",  "Last Sale Date",  "Stock On Hand",   "Stock Reserved",
    "Qty On Order",   "Orders Pending",  "Shopping List Qty", "Last Cost"};
constexpr const char* kEntryCaptions[7] = {
    "Order Qty", "Unit Price", "Trade Disc", "Rebate Disc",
    "Other Disc", "Back Order Qty", "Free Qty"};
constexpr const char* kPercentCaptions[3] = {"Trade Disc %", "Rebate Disc %",
                                             "Other Disc %"};
constexpr const char* kFormulaCaptions[4] = {
    "", "Trade Disc Formula", "Rebate Disc Formula", "Other Disc Formula"};
constexpr const char* kCalcCaptions[8] = {
    "Sub Total", "Sub Total", "Sub Total",  "Net Amount",
    "Tax",       "Average%",  "Total Cost", "New Cost/Unit"};

constexpr int kRow = 360;  // twips between rows

std::string Amount(const services::NumberFormatService& formatter,
                   const vb::Variant& value) {
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
constexpr int32_t kTriggerOnChange[7] = {kTriggerQuantity, kTriggerTrade, kTriggerTrade,
                                         kTriggerRebate,   kTriggerNone,  kTriggerQuantity,
                                         0};
constexpr int32_t kTriggerOnLeave[7] = {kTriggerQuantity, kTriggerTrade, kTriggerRebate,
                                        kTriggerOther,    kTriggerNone,  kTriggerQuantity,
                                        0};

// The trigger a discount's formula selection recalculates from.
int32_t SelectionTrigger(int list) { return list + 1; }

}  // namespace

// The dialog's formula steps for LineCalculation: a ticked box evaluates the
// selected formula on the subtotal; "0" means no discount.
class frmEditOrderDetail::FormulaSteps : public DiscountFormulaStep {
 public:
  FormulaSteps(frmEditOrderDetail& form, const LineCalculation& calc)
      : form_(form), calc_(calc) {}

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
      ui::MsgBox(kInvalidFormulaMessage, ui::vbOKOnly | ui::vbInformation,
                 kPurchaseOrdersTitle);
    }
  }

 private:
  frmEditOrderDetail& form_;
  const LineCalculation& calc_;
};

frmEditOrderDetail::frmEditOrderDetail() : Dialog("frmEditOrderDetail") {}

void frmEditOrderDetail::Build() {
  Caption("Edit Details");
  Size(11520, 7440);

  auto label = [this](const char* name, int index, std::string caption,
                      int left, int top, int width) -> ui::Label& {
    ui::Label& l = Add<ui::Label>(name, index);
    l.Move(left, top, width, 285);
    l.Caption(std::move(caption));
    return l;
  };
  auto value_label = [&](const char* name, int index, int left, int top,
                         int width) -> ui::Label& {
    ui::Label& l = label(name, index, "", left, top, width);
    l.Alignment(1);
    return l;
  };

  label("lblFormState", -1, "Edit Item Details", 120, 120, 5400)
      .SetFont({"MS Sans Serif", 9.75, true});
  label("lblODCaption", 0, "Product ID", 120, 480, 1200);
  value_label("lblODEdit", 0, 1380, 480, 1200);
  label("lblODCaption", 2, "Order No", 7920, 120, 1200);
  value_label("lblODEdit", 2, 9180, 120, 2160);

  // Product figures, left column; the name reads left to right in the
  // width of the whole column, as names are long.
  label("lblPDCaption", 0, kProductCaptions[0], 120, 900, 900);
  label("lblPDDisplay", 0, "", 1080, 900, 3060);
  for (int i = 1; i < 12; ++i) {
    int top = 900 + i * kRow;
    label("lblPDCaption", i, kProductCaptions[i], 120, top, 1680);
    value_label("lblPDDisplay", i, 1860, top, 2280);
  }

  // Entry boxes, right column, in tab order: quantities, price, discounts.
  const int entry_order[7] = {0, 5, 6, 1, 2, 3, 4};
  int top = 900;
  for (int i : entry_order) {
    label("lblODEditCaption", i, kEntryCaptions[i], 4440, top, 1440);
    ui::TextBox& box = Add<ui::TextBox>("txtODEdit", i);
    box.Move(5940, top - 30, 1320, 315);
    box.Alignment(1);
    box.On(ui::Event::kChange, [this, i](ui::EventArgs&) { EntryChanged(i); });
    box.On(ui::Event::kGotFocus, [this, i](ui::EventArgs&) {
      txtODEdit(i).Select(0, 1000);
    });
    box.On(ui::Event::kLostFocus, [this, i](ui::EventArgs&) { EntryLeft(i); });
    box.On(ui::Event::kKeyUp, [this](ui::EventArgs& args) {
      if (args.key_code == ui::vbKeyReturn) ActionClicked(2);
    });
    top += kRow;
  }

  // Percentages beside the discount boxes, after them in the tab order:
  // leaving one rewrites its discount amount.
  for (int p = 0; p < 3; ++p) {
    int row_top = 900 + (4 + p) * kRow;
    label("lblPercentCaption", p, kPercentCaptions[p], 7380, row_top, 1200);
    ui::TextBox& percent = Add<ui::TextBox>("txtODPercentage", p);
    percent.Move(8640, row_top - 30, 900, 315);
    percent.Alignment(1);
    percent.On(ui::Event::kGotFocus, [this, p](ui::EventArgs&) {
      txtODPercentage(p).Select(0, 1000);
    });
    percent.On(ui::Event::kLostFocus,
               [this, p](ui::EventArgs&) { PercentageLeft(p); });
    percent.On(ui::Event::kKeyUp, [this, p](ui::EventArgs& args) {
      if (args.key_code != ui::vbKeyReturn) return;
      PercentageLeft(p);
      ActionClicked(2);
    });
  }

  // Formula lists with their use-formula boxes, then the tax code.
  top += 120;
  for (int i = 1; i <= 4; ++i) {
    if (i <= 3) {
      ui::CheckBox& check = Add<ui::CheckBox>("chkUseFormula", i);
      check.Move(4440, top, 2400, 285);
      check.Caption(kFormulaCaptions[i]);
    } else {
      label("lblTaxCaption", -1, "Tax Code", 4440, top, 2400);
    }
    ui::DataCombo& list = Add<ui::DataCombo>("dbcODEdit", i);
    list.Move(6900, top - 30, 4440, 315);
    list.Style(2);
    list.On(ui::Event::kChange, [this, i](ui::EventArgs&) { ListSelected(i); });
    list.On(ui::Event::kClick, [this, i](ui::EventArgs&) { ListClicked(i); });
    top += kRow;
  }

  // Calculated figures, two columns under the lists.
  top += 120;
  for (int i = 0; i < 8; ++i) {
    int column = i / 4, row = i % 4;
    int left = 4440 + column * 3480;
    label("lblODCalcCaption", i, kCalcCaptions[i], left, top + row * kRow, 1440);
    value_label("lblODCalc", i, left + 1500, top + row * kRow, 1500);
  }

  const char* buttons[3] = {"Update Changes", "Cancel", "Apply"};
  for (int i = 0; i < 3; ++i) {
    ui::CommandButton& button = Add<ui::CommandButton>("cmdAction", i);
    button.Move(6840 + i * 1560, 6780, 1440, 420);
    button.Caption(buttons[i]);
    button.On(ui::Event::kClick, [this, i](ui::EventArgs&) { ActionClicked(i); });
  }
  cmdAction(1).Cancel(true);
}

void frmEditOrderDetail::OnLoad() {
  is_loaded_ = true;
  // Only possible once shown; loading hidden is the usual case.
  vb::StopSilently([this] { txtODEdit(0).SetFocus(); });
}

void frmEditOrderDetail::OnUnload(bool&) { is_loaded_ = false; }

ui::TextBox& frmEditOrderDetail::txtODEdit(int index) {
  return Ctl<ui::TextBox>("txtODEdit", index);
}
ui::TextBox& frmEditOrderDetail::txtODPercentage(int index) {
  return Ctl<ui::TextBox>("txtODPercentage", index);
}
ui::Label& frmEditOrderDetail::lblODCalc(int index) {
  return Ctl<ui::Label>("lblODCalc", index);
}
ui::Label& frmEditOrderDetail::lblODEdit(int index) {
  return Ctl<ui::Label>("lblODEdit", index);
}
ui::Label& frmEditOrderDetail::lblPDDisplay(int index) {
  return Ctl<ui::Label>("lblPDDisplay", index);
}
ui::Label& frmEditOrderDetail::lblFormState() {
  return Ctl<ui::Label>("lblFormState");
}
ui::CheckBox& frmEditOrderDetail::chkUseFormula(int index) {
  return Ctl<ui::CheckBox>("chkUseFormula", index);
}
ui::DataCombo& frmEditOrderDetail::dbcODEdit(int index) {
  return Ctl<ui::DataCombo>("dbcODEdit", index);
}
ui::CommandButton& frmEditOrderDetail::cmdAction(int index) {
  return Ctl<ui::CommandButton>("cmdAction", index);
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
    int32_t trigger = pending_trigger_;
    DoCalculation(trigger);
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
        int32_t trigger = SelectionTrigger(index);
        DoCalculation(trigger);
      }
    } else {
      tax_rate_ = vb::CSng(column2);
      if (calculation_guard_ || binding_state_) return;
      FlagScope calculating(is_calculating_);
      int32_t trigger = kTriggerNone;
      DoCalculation(trigger);
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
    int32_t trigger = pending_trigger_;
    DoCalculation(trigger);
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

void frmEditOrderDetail::DoCalculation(int32_t& trigger) {
  vb::StopSilently([&] {
    const services::NumberFormatService& formatter =
        component::ThreadStore().NumberFormat();
    LineCalculation calc(formatter);
    LineInputs line = ReadInputs();
    const double free_qty = vb::CDbl(EntryValue(6));

    calculation_guard_ = true;
    FormulaSteps steps(*this, calc);
    calc.RunDiscountChain(trigger, line, steps);
    ListSelected(4);  // reload the tax rate
    LineFigures figures = calc.Figures(line, tax_rate_);

    const vb::Variant entries[7] = {line.order_qty, line.price,     line.trade,
                                    line.rebate,    line.other,     line.back_order_qty,
                                    free_qty};
    for (int i = 0; i < 7; ++i) txtODEdit(i).Text(Amount(formatter, entries[i]));
    const vb::Variant calculated[7] = {figures.gross,   figures.after_trade,
                                       figures.after_rebate, figures.net,
                                       figures.tax,     figures.average_percent,
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
    const services::NumberFormatService& formatter =
        component::ThreadStore().NumberFormat();
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
