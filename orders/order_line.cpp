#include "orders/order_line.h"

#include "platform/value/failure_style.h"
#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/data_gateway.h"
#include "services/number_format_service.h"

namespace kvt::orders {
namespace {

std::string Amount(const vb::Variant& value) {
  return component::ThreadStore().NumberFormat().FormatAmount(value, 2, -1, 0, -1);
}

// A zero amount as the formatter shows it.
std::string Zero() { return Amount(0); }

// The column's value as text; `if_null` when it is Null.
std::string TextOr(data::RecordSet& row, const char* column, const std::string& if_null) {
  vb::Variant value = row.Item(column).Value();
  return value.IsNull() ? if_null : vb::CStr(value);
}

}  // namespace

std::shared_ptr<component::Dialog> MakeOrderItemDialog() {
  return std::make_shared<frmEditOrderDetail>();
}

frmEditOrderDetail& SharedOrderItemDialog() {
  auto& slot = component::ThreadStore().Slot(component::DialogKind::kOrderItem);
  auto* dialog = dynamic_cast<frmEditOrderDetail*>(slot.instance.get());
  if (dialog == nullptr) throw vb::Error::ObjectNotSet("frmEditOrderDetail");
  if (!dialog->IsLoaded()) dialog->Load();
  return *dialog;
}

namespace {

using component::Access;
using component::Facet;
using component::ValueType;
using Array = frmEditOrderDetail::Array;
using Row = component::DialogProperty<frmEditOrderDetail>;

void LetLastCost(frmEditOrderDetail& form, const vb::Variant& value) {
  // A product never bought has no last cost: show nothing rather than end
  // the fill on the empty text.
  const std::string text = vb::CStr(value);
  form.lblPDDisplay(11).Caption(text.empty() ? std::string() : Amount(text));
}

void LetFormCaption(frmEditOrderDetail& form, const vb::Variant& value) {
  form.Caption(vb::CStr(value));
}

// Lead time and service level are shown, not read back.
vb::Variant NotReadBack(frmEditOrderDetail&) { return std::string(); }

// Formula 1 is "no formula": only a real one ticks the box (a formula ID
// that is no number raises 13).
template <int kList>
void LetFormula(frmEditOrderDetail& form, const vb::Variant& value) {
  const std::string id = vb::CStr(value);
  if (vb::CDbl(id) > 1) form.chkUseFormula(kList).Value(ui::vbChecked);
  form.dbcODEdit(kList).BoundText(id);
}

constexpr Access kLetGet = Access::kLetGet;
constexpr Access kLetOnly = Access::kLetOnly;

// clang-format off
const Row kProperties[] = {
    {"Product_Name", kLetOnly, Array::kLblPDDisplay, 0},
    {"Selling_Price_1", kLetOnly, Array::kLblPDDisplay, 1},
    {"Selling_Price_2", kLetOnly, Array::kLblPDDisplay, 2},
    {"Last_Sale_Date", kLetOnly, Array::kLblPDDisplay, 5},
    {"Stock_On_Hand", kLetOnly, Array::kLblPDDisplay, 6},
    {"Stock_Reserved", kLetOnly, Array::kLblPDDisplay, 7},
    {"Qty_On_Order", kLetOnly, Array::kLblPDDisplay, 8},
    {"Orders_Pending", kLetOnly, Array::kLblPDDisplay, 9},
    {"Shopping_List_Qty", kLetOnly, Array::kLblPDDisplay, 10},
    {.name = "Last_Cost", .access = kLetOnly, .array = Array::kLblPDDisplay, .index = 11,
     .let = LetLastCost},
    {"ODOrder_Number", kLetOnly, Array::kLblODEdit, 2},
    {.name = "Form_Caption", .access = kLetOnly, .array = Array::kLblFormState, .index = -1,
     .let = LetFormCaption},
    {"Form_State_Label", kLetOnly, Array::kLblFormState, -1},
    {"Cmd_Action_Caption", kLetOnly, Array::kCmdAction, 0},
    {"Product_ID", kLetGet, Array::kLblODEdit, 0, Facet::kValue, ValueType::kLong},
    {"Back_Order_Qty", kLetGet, Array::kTxtODEdit, 5},
    {"Free_Qty", kLetGet, Array::kTxtODEdit, 6},
    {.name = "Lead_Time", .access = kLetGet, .array = Array::kLblPDDisplay, .index = 3,
     .get = NotReadBack},
    {.name = "Service_Level", .access = kLetGet, .array = Array::kLblPDDisplay, .index = 4,
     .get = NotReadBack},
    {"Order_Qty", kLetGet, Array::kTxtODEdit, 0},
    {"Unit_Price", kLetGet, Array::kTxtODEdit, 1},
    {.name = "Trade_Disc_Formula", .access = kLetGet, .array = Array::kDbcODEdit, .index = 1,
     .let = LetFormula<1>},
    {"Trade_Discount", kLetGet, Array::kTxtODEdit, 2},
    {.name = "Rebate_Disc_Formula", .access = kLetGet, .array = Array::kDbcODEdit, .index = 2,
     .let = LetFormula<2>},
    {"Rebate_Discount", kLetGet, Array::kTxtODEdit, 3},
    {.name = "Other_Disc_Formula", .access = kLetGet, .array = Array::kDbcODEdit, .index = 3,
     .let = LetFormula<3>},
    {"Other_Discount", kLetGet, Array::kTxtODEdit, 4},
    {"Tax_Code", kLetGet, Array::kDbcODEdit, 4},
    {"Tax", kLetGet, Array::kLblODCalc, 4},
    {"Net_Amount", kLetGet, Array::kLblODCalc, 3},
    {"Total_Cost", kLetGet, Array::kLblODCalc, 6},
};
// clang-format on

}  // namespace

std::span<const component::DialogProperty<frmEditOrderDetail>> OrderLineProperties() {
  return kProperties;
}

std::string OrderLine::Get(std::string_view property) const {
  return vb::CStr(
      component::GetProperty(form_, component::FindProperty(OrderLineProperties(), property)));
}

void OrderLine::Let(std::string_view property, const vb::Variant& value) {
  component::LetProperty(form_, component::FindProperty(OrderLineProperties(), property), value);
}

void OrderLine::BindFormulaDBC(int formula) {
  component::BindLookupList(form_.dbcODEdit(formula), formula);
}

void OrderLine::BindAndSelect(int list, data::RecordSet* row, const char* column) {
  BindFormulaDBC(list);
  std::string id = row ? TextOr(*row, column, "1") : std::string("1");
  static constexpr const char* kListProperty[] = {"", "Trade_Disc_Formula", "Rebate_Disc_Formula",
                                                  "Other_Disc_Formula", "Tax_Code"};
  Let(kListProperty[list], id);
}

void OrderLine::CopyProductFigures(data::RecordSet& product, bool adding) {
  vb::Variant id = product.Item("ID").Value();
  Let("Product_ID", vb::CLng(id));  // a Null ID ends the fill here
  Let("Product_Name", TextOr(product, "Product", ""));
  auto price = [&](const char* column) {
    vb::Variant value = product.Item(column).Value();
    return value.IsNull() ? std::string() : Amount(value);
  };
  Let("Selling_Price_1", price("Price 1"));
  Let("Selling_Price_2", price("Price 2"));
  Let("Lead_Time", TextOr(product, "Lead Time", ""));
  Let("Service_Level", TextOr(product, "Service Level", ""));
  vb::Variant last_sale = product.Item("Last Sale").Value();
  if (last_sale.IsNull()) {
    Let("Last_Sale_Date", "");
  } else {
    Let("Last_Sale_Date", adding ? vb::Format(last_sale, "Short Date") : vb::CStr(last_sale));
  }
  Let("Stock_On_Hand", TextOr(product, "Stock On Hand", ""));
  Let("Stock_Reserved", TextOr(product, "Stock Reserved", ""));
  Let("Qty_On_Order", TextOr(product, "Qty on order", ""));
  Let("Orders_Pending", TextOr(product, "Orders Pending", ""));
  Let("Shopping_List_Qty", TextOr(product, "Shopping List Qty", ""));
  Let("Last_Cost", TextOr(product, "Last_Cost", ""));
  if (adding) {
    std::string unit_price = price("Last_Cost");
    Let("Unit_Price", unit_price.empty() ? Zero() : unit_price);
  }
}

void OrderLine::AssignAllForAdding(data::RecordSet& product, double order_qty,
                                   const std::string& order_no) {
  form_.BindingState(true);
  BindAndSelect(kTradeFormulaList, &product, "Trade_Discount_Formula_ID");
  BindAndSelect(kRebateFormulaList, &product, "Rebate_Discount_Formula_ID");
  BindAndSelect(kOtherFormulaList, nullptr, nullptr);
  BindAndSelect(kTaxCodeList, &product, "Tax_Codes_ID");
  CopyProductFigures(product, /*adding=*/true);

  Let("Trade_Discount", Zero());
  Let("Rebate_Discount", Zero());
  Let("Other_Discount", Zero());
  Let("Net_Amount", Zero());
  Let("Tax", Zero());
  Let("Total_Cost", Zero());
  for (int i : {0, 1, 2, 5}) form_.lblODCalc(i).Caption(Zero());
  Let("Order_Qty", vb::CStr(order_qty));
  Let("ODOrder_Number", order_no);
  Let("Form_Caption", "Adding Order Item");
  Let("Form_State_Label", "Edit Item Details");
  Let("Cmd_Action_Caption", "Add");

  form_.DoCalculation(kTriggerQuantity);
  // Only a fill that ran through leaves binding state.
  form_.BindingState(false);
}

void OrderLine::AssignAllForEditing(data::RecordSet& product, data::RecordSet& detail,
                                    const std::string& order_no) {
  form_.BindingState(true);
  BindAndSelect(kTradeFormulaList, &detail, "Trade_Discount_Formula_ID");
  BindAndSelect(kRebateFormulaList, &detail, "Rebate_Formula_ID");
  BindAndSelect(kOtherFormulaList, &detail, "Other_Discount_Formula_ID");
  BindAndSelect(kTaxCodeList, &detail, "Tax_Codes_ID");
  CopyProductFigures(product, /*adding=*/false);

  // The line's own figures must be there: no Null check.
  Let("Order_Qty", vb::CStr(detail.Item("Qty").Value()));
  Let("Back_Order_Qty", vb::CStr(detail.Item("B/O Qty").Value()));
  Let("Free_Qty", vb::CStr(detail.Item("Free Qty").Value()));
  Let("Unit_Price", Amount(detail.Item("Unit Price").Value()));
  Let("Trade_Discount", Amount(detail.Item("Trade Disc").Value()));
  Let("Rebate_Discount", Amount(detail.Item("Rebate Disc").Value()));
  Let("Other_Discount", Amount(detail.Item("Other Disc").Value()));
  Let("Net_Amount", Amount(detail.Item("Net Amount").Value()));
  Let("Tax", Amount(detail.Item("Tax").Value()));
  Let("Total_Cost", Amount(detail.Item("Total Cost").Value()));
  for (int i : {0, 1, 2, 5}) form_.lblODCalc(i).Caption(Zero());
  Let("ODOrder_Number", order_no);
  Let("Form_Caption", "Editing a product");
  Let("Form_State_Label", "Editing an order item");
  Let("Cmd_Action_Caption", "Update Changes");

  form_.IsCalculating(true);
  form_.DoCalculation(kTriggerQuantity);
  form_.IsCalculating(false);
  form_.CalcItemSubTotals();
  form_.BindingState(false);
}

}  // namespace kvt::orders
