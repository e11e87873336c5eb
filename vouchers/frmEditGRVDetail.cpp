#include "vouchers/frmEditGRVDetail.h"

#include <string>

#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/failure_style.h"
#include "platform/value/text.h"

namespace kvt::vouchers {
namespace {

using component::FormatToDecimals;
using component::FormatTwoDecimals;
using component::ParseNumber;
using enum ui::ControlKind;
using ui::kBold;
using ui::kCancelButton;
using ui::kDropDownList;
using ui::kHidden;
using ui::kPlain;
using ui::kRightAligned;

constexpr const char* kSellingPriceDesign = "Selling Price";
constexpr const char* kRedo = "\r\n\r\nPlease redo the item.";

// Product on top, then the figures in the order they cascade, each
// discount with its percentage; the hidden carriers last. Creation order is
// tab order: quantity, price, each discount and its percentage, net, tax.
constexpr ui::ControlLayout kLayout[] = {
    {kLabel, "lblState", -1, 240, 120, 3000, 285, "Add ...", kBold},
    {kLabel, "lblPDProductCode", 0, 240, 480, 1500, 285, "", kPlain},
    {kLabel, "lblPDDisplay", 0, 1800, 480, 4560, 285, "", kPlain},
    {kLabel, "lblPDSellingPrice", 0, 240, 780, 3000, 285, "Selling Price", kHidden},
    {kLabel, "lblOrderDetail", 3, 240, 1140, 1800, 285, "Total Ordered", kPlain},
    {kLabel, "lblODCalc", 5, 2100, 1140, 1500, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 2, 3720, 1140, 1500, 285, "Received To Date", kPlain},
    {kLabel, "lblODCalc", 6, 5280, 1140, 1080, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 1, 240, 1500, 1800, 285, "Qty Received Now", kPlain},
    {kTextBox, "txtODEdit", 0, 2100, 1470, 1500, 315, "", kRightAligned},
    {kLabel, "lblOrderDetail", 5, 240, 1860, 1800, 285, "Unit Price", kPlain},
    {kTextBox, "txtODEdit", 1, 2100, 1830, 1500, 315, "", kRightAligned},
    {kLabel, "lblOrderDetail", 4, 240, 2220, 1800, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 0, 2100, 2220, 1500, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 9, 240, 2580, 1800, 285, "Trade Discount", kPlain},
    {kTextBox, "txtODEdit", 2, 2100, 2550, 1500, 315, "", kRightAligned},
    {kTextBox, "txtODPercentage", 0, 3720, 2550, 750, 315, "", kRightAligned},
    {kLabel, "lblPercentSign", 0, 4530, 2580, 300, 285, "%", kPlain},
    {kLabel, "lblOrderDetail", 11, 240, 2940, 1800, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 1, 2100, 2940, 1500, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 10, 240, 3300, 1800, 285, "Rebate Discount", kPlain},
    {kTextBox, "txtODEdit", 3, 2100, 3270, 1500, 315, "", kRightAligned},
    {kTextBox, "txtODPercentage", 1, 3720, 3270, 750, 315, "", kRightAligned},
    {kLabel, "lblPercentSign", 1, 4530, 3300, 300, 285, "%", kPlain},
    {kLabel, "lblOrderDetail", 12, 240, 3660, 1800, 285, "Sub Total", kPlain},
    {kLabel, "lblODCalc", 2, 2100, 3660, 1500, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 13, 240, 4020, 1800, 285, "Other Discount", kPlain},
    {kTextBox, "txtODEdit", 4, 2100, 3990, 1500, 315, "", kRightAligned},
    {kTextBox, "txtODPercentage", 2, 3720, 3990, 750, 315, "", kRightAligned},
    {kLabel, "lblPercentSign", 2, 4530, 4020, 300, 285, "%", kPlain},
    {kLabel, "lblOrderDetail", 14, 240, 4380, 1800, 285, "Net Cost", kPlain},
    {kTextBox, "txtODEdit", 5, 2100, 4350, 1500, 315, "", kRightAligned},
    {kLabel, "lblOrderDetail", 0, 240, 4740, 1800, 285, "Tax Method", kPlain},
    {kDataCombo, "dbcODEdit", 4, 2100, 4710, 2370, 315, "", kDropDownList},
    {kLabel, "lblOrderDetail", 18, 240, 5100, 1800, 285, "Tax", kPlain},
    {kLabel, "lblODCalc", 3, 2100, 5100, 1500, 285, "", kRightAligned},
    {kLabel, "lblOrderDetail", 15, 240, 5460, 1800, 285, "Total Amount", kPlain},
    {kLabel, "lblODCalc", 4, 2100, 5460, 1500, 285, "", kRightAligned | kBold},
    {kCommandButton, "cmdAction", 0, 3720, 5940, 1215, 375, "Add", kPlain},
    {kCommandButton, "cmdAction", 1, 5040, 5940, 1215, 375, "Cancel", kCancelButton},
    {kLabel, "lblOrderDetail", 6, 240, 6420, 1200, 285, "CRV Qty", kHidden},
    {kLabel, "lblOrderDetail", 7, 240, 6420, 1200, 285, "Qty Returned", kHidden},
    {kLabel, "lblOrderDetail", 8, 240, 6420, 1200, 285, "Qty Sold", kHidden},
    {kLabel, "lblOrderDetail", 16, 240, 6420, 1200, 285, "Qty Left", kHidden},
    {kLabel, "lblOrderDetail", 17, 240, 6420, 1200, 285, "ProdID", kHidden},
    {kLabel, "lblOrderDetail", 19, 240, 6420, 1200, 285, "FKID", kHidden},
    {kLabel, "lblODEdit", 0, 1500, 6420, 900, 285, "", kHidden},
    {kLabel, "lblODEdit", 1, 1500, 6420, 900, 285, "", kHidden},
    {kLabel, "lblODEdit", 2, 1500, 6420, 900, 285, "", kHidden},
    {kLabel, "lblODEdit", 3, 1500, 6420, 900, 285, "", kHidden},
    {kLabel, "lblODEdit", 4, 1500, 6420, 900, 285, "", kHidden},
    {kLabel, "lblODEdit", 5, 1500, 6420, 900, 285, "", kHidden},
};

vb::Currency AmountOf(const std::string& text) { return vb::CCur(ParseNumber(text)); }

void Warn(const std::string& text, const char* title = kStockReceiptsTitle) {
  ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, title);
}

}  // namespace

frmEditGRVDetail::frmEditGRVDetail() : Dialog("frmEditGRVDetail") {
  // Cancel unloads the dialog and the line goes with it.
  DiscardControlsOnUnload(true);
}

void frmEditGRVDetail::Build() {
  Caption("Receive Item");
  Size(6600, 6555);
  AddControls(kLayout);
  txt_od_edit_.Collect(ArrayElements("txtODEdit"));
  txt_od_percentage_.Collect(ArrayElements("txtODPercentage"));
  lbl_od_calc_.Collect(ArrayElements("lblODCalc"));
  lbl_od_edit_.Collect(ArrayElements("lblODEdit"));
  lbl_order_detail_.Collect(ArrayElements("lblOrderDetail"));
  lbl_pd_display_.Collect(ArrayElements("lblPDDisplay"));
  lbl_pd_product_code_.Collect(ArrayElements("lblPDProductCode"));
  lbl_pd_selling_price_.Collect(ArrayElements("lblPDSellingPrice"));
  dbc_od_edit_.Collect(ArrayElements("dbcODEdit"));
  cmd_action_.Collect(ArrayElements("cmdAction"));
  lbl_state_ = &Ctl<ui::Label>("lblState");
  tax_rate_ = 0;
  amount_entry_value_ = percentage_entry_value_ = vb::Currency();
  WireHandlers();
}

void frmEditGRVDetail::WireHandlers() {
  auto enter = [this](ui::EventArgs& args) { EnterActsAsTab(args); };
  for (int i = 0; i <= 5; ++i) {
    ui::TextBox& box = txt_od_edit_[i];
    box.On(ui::Event::kGotFocus, [this, i](ui::EventArgs&) { AmountFocused(i); });
    box.On(ui::Event::kValidate,
           [this, i](ui::EventArgs& args) { AmountValidating(i, args.cancel); });
    box.On(ui::Event::kLostFocus, [this, i](ui::EventArgs&) { AmountLeft(i); });
    box.On(ui::Event::kKeyPress, enter);
  }
  for (int i = 0; i <= 2; ++i) {
    ui::TextBox& box = txt_od_percentage_[i];
    box.On(ui::Event::kGotFocus, [this, i](ui::EventArgs&) { PercentageFocused(i); });
    box.On(ui::Event::kLostFocus, [this, i](ui::EventArgs&) { PercentageLeft(i); });
    box.On(ui::Event::kKeyPress, enter);
  }
  dbc_od_edit_[4].On(ui::Event::kChange, [this](ui::EventArgs&) { TaxCodeChanged(); });
  dbc_od_edit_[4].On(ui::Event::kKeyPress, enter);
  for (int i = 0; i <= 1; ++i) {
    ui::CommandButton& button = cmd_action_[i];
    button.On(ui::Event::kClick, [this, i](ui::EventArgs&) { ActionClicked(i); });
    // Any key on a focused action button is a click of it.
    button.On(ui::Event::kKeyDown, [this, i](ui::EventArgs&) { ActionClicked(i); });
  }
}

void frmEditGRVDetail::OnLoad() { is_loaded_ = true; }
void frmEditGRVDetail::OnUnload(bool&) { is_loaded_ = false; }

void frmEditGRVDetail::OnActivate() {
  ui::Label& price = lblPDSellingPrice();
  if (price.Caption() == kSellingPriceDesign) price.Visible(true);
}

ui::Label& frmEditGRVDetail::lblState() {
  EnsureBuilt();
  return *lbl_state_;
}

ui::Control& frmEditGRVDetail::Element(Array array, int index) {
  EnsureBuilt();
  switch (array) {
    case Array::kTxtODEdit: return txt_od_edit_[index];
    case Array::kTxtODPercentage: return txt_od_percentage_[index];
    case Array::kLblODCalc: return lbl_od_calc_[index];
    case Array::kLblODEdit: return lbl_od_edit_[index];
    case Array::kLblPDDisplay: return lbl_pd_display_[index];
    case Array::kLblPDProductCode: return lbl_pd_product_code_[index];
    case Array::kLblPDSellingPrice: return lbl_pd_selling_price_[index];
    case Array::kDbcODEdit: return dbc_od_edit_[index];
  }
  throw vb::Error::SubscriptOutOfRange(TypeName());
}

void frmEditGRVDetail::SetFormState(int32_t state) {
  struct Captions {
    const char* quantity;
    const char* action;
    const char* state;
  };
  static constexpr Captions kStates[] = {
      {"Qty Received Now", "Add", "Add ..."},      // kvAdding
      {"Qty Received Now", "Update", "Edit ..."},  // kvEditing
      {"Qty Returned Now", "Add", "Return ..."},   // kvReturning
  };
  if (state < 0 || state > 2) return;
  const Captions& captions = kStates[state];
  lblOrderDetail(1).Caption(captions.quantity);
  cmdAction(0).Caption(captions.action);
  lblState().Caption(captions.state);
}

bool frmEditGRVDetail::Calculate(int16_t selector) {
  cmdAction(0).Enabled(false);
  const component::SharedSettings& settings = component::ThreadStore().settings;
  ReceiveCalculation calc(settings.qty_decimals, settings.price_decimals);
  ReceiveLineEntries in;
  in.quantity = txtODEdit(0).Text();
  in.unit_price = txtODEdit(1).Text();
  in.trade = txtODEdit(2).Text();
  in.rebate = txtODEdit(3).Text();
  in.other = txtODEdit(4).Text();
  in.net = txtODEdit(5).Text();
  in.trade_percent = txtODPercentage(0).Text();
  in.rebate_percent = txtODPercentage(1).Text();
  in.other_percent = txtODPercentage(2).Text();
  in.tax = lblODCalc(3).Caption();
  in.total = lblODCalc(4).Caption();
  const ReceiveLineFigures f = calc.Run(in, selector, tax_rate_);

  txtODEdit(0).Text(FormatToDecimals(f.quantity, settings.qty_decimals));
  txtODEdit(1).Text(FormatToDecimals(f.unit_price, settings.price_decimals));
  lblODCalc(0).Caption(FormatTwoDecimals(f.sub_total));
  txtODEdit(2).Text(FormatTwoDecimals(f.trade));
  txtODPercentage(0).Text(FormatTwoDecimals(f.trade_percent));
  lblODCalc(1).Caption(FormatTwoDecimals(f.after_trade));
  txtODEdit(3).Text(FormatTwoDecimals(f.rebate));
  txtODPercentage(1).Text(FormatTwoDecimals(f.rebate_percent));
  lblODCalc(2).Caption(FormatTwoDecimals(f.after_rebate));
  txtODEdit(4).Text(FormatTwoDecimals(f.other));
  txtODPercentage(2).Text(FormatTwoDecimals(f.other_percent));
  txtODEdit(5).Text(FormatTwoDecimals(f.net));
  lblODCalc(3).Caption(FormatTwoDecimals(f.tax));
  lblODCalc(4).Caption(FormatTwoDecimals(f.total));
  if (f.balanced) cmdAction(0).Enabled(true);
  return f.balanced;
}

void frmEditGRVDetail::AmountFocused(int index) {
  vb::PassOver([&] {
    ui::TextBox& box = txtODEdit(index);
    amount_entry_value_ = AmountOf(box.Text());
    // Shown without grouping while it is edited.
    if (vb::IsNumeric(box.Text())) box.Text(vb::CStr(ParseNumber(box.Text())));
    box.Select(0, 1000);
  });
}

void frmEditGRVDetail::AmountValidating(int index, bool& cancel) {
  vb::PassOver([&] {
    ui::TextBox& box = txtODEdit(index);
    const double value = vb::CDbl(ParseNumber(vb::Trim(box.Text())));
    auto refuse = [&](const std::string& message, const char* title) {
      cancel = true;
      Warn(message, title);
      box.Select(0, 1000);
    };
    if (index == 1 && value < 0) {
      refuse("Please insert a positive Unit Price", kStockReceiptsTitle);
    } else if (index == 0 && value < 0) {
      refuse("Please insert a positive Quantity Received", kStockReceiptsTitle);
    } else if (index == 0 && is_crn_) {
      const std::string left = lblODEdit(5).Caption();
      if (value > vb::CDbl(ParseNumber(left))) {
        refuse(
            "Return amount may not be greater than amount left on CRV. \r"
            "Please insert an amount less than or equal to " +
                left,
            kConsignmentReturnsTitle);
      }
    }
  });
}

void frmEditGRVDetail::AmountLeft(int index) {
  vb::PassOver([&] {
    if (AmountOf(txtODEdit(index).Text()) == amount_entry_value_) return;
    const bool balanced =
        vb::AnswerOnFailure(false, [&] { return Calculate(static_cast<int16_t>(index)); });
    if (!balanced) Warn(std::string("An exception occurred while changing amounts.") + kRedo);
  });
}

void frmEditGRVDetail::PercentageFocused(int index) {
  vb::PassOver([&] {
    ui::TextBox& box = txtODPercentage(index);
    percentage_entry_value_ = AmountOf(box.Text());
    box.Select(0, 1000);
  });
}

void frmEditGRVDetail::PercentageLeft(int index) {
  vb::PassOver([&] {
    if (AmountOf(txtODPercentage(index).Text()) == percentage_entry_value_) return;
    const bool balanced = vb::AnswerOnFailure(
        false, [&] { return Calculate(static_cast<int16_t>(index + kSelectorFirstPercentage)); });
    if (!balanced) {
      Warn(std::string("An exception occurred while changing percentages.") + kRedo);
    }
  });
}

void frmEditGRVDetail::TaxCodeChanged() {
  vb::PassOver([&] {
    ui::DataCombo& list = dbcODEdit();
    const int row = list.SelectedRow();
    if (row < 0) return;
    const bool balanced = vb::AnswerOnFailure(false, [&] {
      auto rows = std::dynamic_pointer_cast<data::RecordSet>(list.RowSource());
      if (!rows) throw vb::Error::ObjectNotSet(TypeName());
      rows->MoveFirst();
      for (int i = 0; i < row; ++i) rows->MoveNext();
      tax_rate_ = vb::CSng(rows->Item(2).Value());
      return Calculate(kSelectorTaxCode);
    });
    if (!balanced) {
      Warn(std::string("An exception occurred while changing Tax Method.") + kRedo);
    }
  });
}

void frmEditGRVDetail::ActionClicked(int index) {
  vb::StopSilently([&] {
    if (index == 1) {
      Unload();
      return;
    }
    if (index != 0) return;
    Calculate(0);
    ui::TextBox& quantity = txtODEdit(0);
    const double received = vb::CDbl(ParseNumber(quantity.Text()));
    if (quantity.Text().empty() || received == 0) {
      ui::MsgBox(
          "You cannot receive a zero quantity. \r\n\r\nPlease supply 'Qty Received' and "
          "'Unit Price' values\r\nor press Cancel",
          ui::vbOKOnly | ui::vbInformation, kStockReceiptsTitle);
      vb::PassOver([&] { quantity.SetFocus(); });
      return;
    }
    if (is_crn_) {
      // The quantity moves from what is left to what was returned.
      const double whole = vb::CLng(received);
      lblODEdit(3).Caption(vb::CStr(vb::CDbl(ParseNumber(lblODEdit(3).Caption())) + whole));
      lblODEdit(5).Caption(vb::CStr(vb::CDbl(ParseNumber(lblODEdit(5).Caption())) - whole));
    }
    Hide();
    cmdAction(0).Enabled(false);
  });
}

void frmEditGRVDetail::EnterActsAsTab(ui::EventArgs& args) {
  if (args.key_ascii != ui::vbKeyReturn) return;
  args.key_ascii = 0;
  vb::PassOver([&] { SendKeys("{TAB}"); });
}

}  // namespace kvt::vouchers
