#include "orders/order_line.h"

#include "platform/value/failure_style.h"
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

constexpr const char* kZero = "0.00";

std::string Amount(const vb::Variant& value) {
  return component::ThreadStore().NumberFormat().FormatAmount(value, 2, -1, 0, -1);
}

// The column's value as text; `if_null` when it is Null.
std::string TextOr(data::RecordSet& row, const char* column,
                   const std::string& if_null) {
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

void OrderLine::Product_Name(const std::string& text) { form_.lblPDDisplay(0).Caption(text); }
void OrderLine::Selling_Price_1(const std::string& text) { form_.lblPDDisplay(1).Caption(text); }
void OrderLine::Selling_Price_2(const std::string& text) { form_.lblPDDisplay(2).Caption(text); }
void OrderLine::Lead_Time(const std::string& text) { form_.lblPDDisplay(3).Caption(text); }
void OrderLine::Service_Level(const std::string& text) { form_.lblPDDisplay(4).Caption(text); }
void OrderLine::Last_Sale_Date(const std::string& text) { form_.lblPDDisplay(5).Caption(text); }
void OrderLine::Stock_On_Hand(const std::string& text) { form_.lblPDDisplay(6).Caption(text); }
void OrderLine::Stock_Reserved(const std::string& text) { form_.lblPDDisplay(7).Caption(text); }
void OrderLine::Qty_On_Order(const std::string& text) { form_.lblPDDisplay(8).Caption(text); }
void OrderLine::Orders_Pending(const std::string& text) { form_.lblPDDisplay(9).Caption(text); }
void OrderLine::Shopping_List_Qty(const std::string& text) { form_.lblPDDisplay(10).Caption(text); }
void OrderLine::Last_Cost(const std::string& text) {
  // A product never bought has no last cost: show nothing rather than
  // end the fill on the empty text.
  form_.lblPDDisplay(11).Caption(text.empty() ? std::string() : Amount(text));
}
void OrderLine::ODOrder_Number(const std::string& text) { form_.lblODEdit(2).Caption(text); }
void OrderLine::Form_Caption(const std::string& text) { form_.Caption(text); }
void OrderLine::Form_State_Label(const std::string& text) { form_.lblFormState().Caption(text); }
void OrderLine::Cmd_Action_Caption(const std::string& text) { form_.cmdAction(0).Caption(text); }

int32_t OrderLine::Product_ID() const { return vb::CLng(form_.lblODEdit(0).Caption()); }
void OrderLine::Product_ID(int32_t id) { form_.lblODEdit(0).Caption(std::to_string(id)); }

std::string OrderLine::Order_Qty() const { return form_.txtODEdit(0).Text(); }
void OrderLine::Order_Qty(const std::string& text) { form_.txtODEdit(0).Text(text); }
std::string OrderLine::Unit_Price() const { return form_.txtODEdit(1).Text(); }
void OrderLine::Unit_Price(const std::string& text) { form_.txtODEdit(1).Text(text); }
std::string OrderLine::Trade_Discount() const { return form_.txtODEdit(2).Text(); }
void OrderLine::Trade_Discount(const std::string& text) { form_.txtODEdit(2).Text(text); }
std::string OrderLine::Rebate_Discount() const { return form_.txtODEdit(3).Text(); }
void OrderLine::Rebate_Discount(const std::string& text) { form_.txtODEdit(3).Text(text); }
std::string OrderLine::Other_Discount() const { return form_.txtODEdit(4).Text(); }
void OrderLine::Other_Discount(const std::string& text) { form_.txtODEdit(4).Text(text); }
std::string OrderLine::Back_Order_Qty() const { return form_.txtODEdit(5).Text(); }
void OrderLine::Back_Order_Qty(const std::string& text) { form_.txtODEdit(5).Text(text); }
std::string OrderLine::Free_Qty() const { return form_.txtODEdit(6).Text(); }
void OrderLine::Free_Qty(const std::string& text) { form_.txtODEdit(6).Text(text); }
std::string OrderLine::Net_Amount() const { return form_.lblODCalc(3).Caption(); }
void OrderLine::Net_Amount(const std::string& text) { form_.lblODCalc(3).Caption(text); }
std::string OrderLine::Tax() const { return form_.lblODCalc(4).Caption(); }
void OrderLine::Tax(const std::string& text) { form_.lblODCalc(4).Caption(text); }
std::string OrderLine::Total_Cost() const { return form_.lblODCalc(6).Caption(); }
void OrderLine::Total_Cost(const std::string& text) { form_.lblODCalc(6).Caption(text); }

std::string OrderLine::Trade_Disc_Formula() const { return form_.dbcODEdit(1).BoundText(); }
void OrderLine::Trade_Disc_Formula(const std::string& id) { SetFormula(1, id); }
std::string OrderLine::Rebate_Disc_Formula() const { return form_.dbcODEdit(2).BoundText(); }
void OrderLine::Rebate_Disc_Formula(const std::string& id) { SetFormula(2, id); }
std::string OrderLine::Other_Disc_Formula() const { return form_.dbcODEdit(3).BoundText(); }
void OrderLine::Other_Disc_Formula(const std::string& id) { SetFormula(3, id); }
std::string OrderLine::Tax_Code() const { return form_.dbcODEdit(4).BoundText(); }
void OrderLine::Tax_Code(const std::string& id) { form_.dbcODEdit(4).BoundText(id); }

void OrderLine::SetFormula(int list, const std::string& id) {
  // Formula 1 is "no formula": only a real one ticks the box.
  if (vb::CDbl(id) > 1) form_.chkUseFormula(list).Value(ui::vbChecked);
  form_.dbcODEdit(list).BoundText(id);
}

void OrderLine::BindFormulaDBC(int formula) {
  component::Store& store = component::ThreadStore();
  data::RecordSetRef rows;
  // Each step is attempted whatever happened to the one before.
  auto attempt = [](auto&& step) { vb::PassOver(step); };
  attempt([&] {
    std::string command = "sp_AO_Select_Order_Lups " + std::to_string(formula) +
                          "," + std::to_string(store.settings.company_id);
    services::DataGateway& gateway = store.DataGateway();
    data::ConnectionRef connection =
        gateway.OpenConnection(store.settings.connection_string, -1, 3);
    int32_t status = 0;
    rows = gateway.OpenRecordset(command, 1, 3, 3, connection, status);
  });
  attempt([&] { form_.dbcODEdit(formula).RowSource(rows); });
  attempt([&] {
    if (!rows) throw vb::Error::ObjectNotSet();
    form_.dbcODEdit(formula).ListField(rows->Fields().Item(1).Name());
  });
  attempt([&] {
    if (!rows) throw vb::Error::ObjectNotSet();
    form_.dbcODEdit(formula).BoundColumn(rows->Fields().Item(0).Name());
  });
}

void OrderLine::BindAndSelect(int list, data::RecordSet* row, const char* column) {
  BindFormulaDBC(list);
  std::string id = row ? TextOr(*row, column, "1") : std::string("1");
  if (list == kTaxCodeList) {
    Tax_Code(id);
  } else {
    SetFormula(list, id);
  }
}

void OrderLine::CopyProductFigures(data::RecordSet& product, bool adding) {
  vb::Variant id = product.Item("ID").Value();
  Product_ID(vb::CLng(id));  // a Null ID ends the fill here
  Product_Name(TextOr(product, "Product", ""));
  auto price = [&](const char* column) {
    vb::Variant value = product.Item(column).Value();
    return value.IsNull() ? std::string() : Amount(value);
  };
  Selling_Price_1(price("Price 1"));
  Selling_Price_2(price("Price 2"));
  Lead_Time(TextOr(product, "Lead Time", ""));
  Service_Level(TextOr(product, "Service Level", ""));
  vb::Variant last_sale = product.Item("Last Sale").Value();
  if (last_sale.IsNull()) {
    Last_Sale_Date("");
  } else {
    Last_Sale_Date(adding ? vb::Format(last_sale, "Short Date") : vb::CStr(last_sale));
  }
  Stock_On_Hand(TextOr(product, "Stock On Hand", ""));
  Stock_Reserved(TextOr(product, "Stock Reserved", ""));
  Qty_On_Order(TextOr(product, "Qty on order", ""));
  Orders_Pending(TextOr(product, "Orders Pending", ""));
  Shopping_List_Qty(TextOr(product, "Shopping List Qty", ""));
  Last_Cost(TextOr(product, "Last_Cost", ""));
  if (adding) {
    std::string unit_price = price("Last_Cost");
    Unit_Price(unit_price.empty() ? kZero : unit_price);
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

  Trade_Discount(kZero);
  Rebate_Discount(kZero);
  Other_Discount(kZero);
  Net_Amount(kZero);
  Tax(kZero);
  Total_Cost(kZero);
  for (int i : {0, 1, 2, 5}) form_.lblODCalc(i).Caption(kZero);
  Order_Qty(vb::CStr(order_qty));
  ODOrder_Number(order_no);
  Form_Caption("Adding Order Item");
  Form_State_Label("Edit Item Details");
  Cmd_Action_Caption("Add");

  int32_t trigger = kTriggerQuantity;
  form_.DoCalculation(trigger);
  // Only a fill that ran through leaves binding state.
  form_.BindingState(false);
}

void OrderLine::AssignAllForEditing(data::RecordSet& product,
                                    data::RecordSet& detail,
                                    const std::string& order_no) {
  form_.BindingState(true);
  BindAndSelect(kTradeFormulaList, &detail, "Trade_Discount_Formula_ID");
  BindAndSelect(kRebateFormulaList, &detail, "Rebate_Formula_ID");
  BindAndSelect(kOtherFormulaList, &detail, "Other_Discount_Formula_ID");
  BindAndSelect(kTaxCodeList, &detail, "Tax_Codes_ID");
  CopyProductFigures(product, /*adding=*/false);

  // The line's own figures must be there: no Null check.
  Order_Qty(vb::CStr(detail.Item("Qty").Value()));
  Back_Order_Qty(vb::CStr(detail.Item("B/O Qty").Value()));
  Free_Qty(vb::CStr(detail.Item("Free Qty").Value()));
  Unit_Price(Amount(detail.Item("Unit Price").Value()));
  Trade_Discount(Amount(detail.Item("Trade Disc").Value()));
  Rebate_Discount(Amount(detail.Item("Rebate Disc").Value()));
  Other_Discount(Amount(detail.Item("Other Disc").Value()));
  Net_Amount(Amount(detail.Item("Net Amount").Value()));
  Tax(Amount(detail.Item("Tax").Value()));
  Total_Cost(Amount(detail.Item("Total Cost").Value()));
  for (int i : {0, 1, 2, 5}) form_.lblODCalc(i).Caption(kZero);
  ODOrder_Number(order_no);
  Form_Caption("Editing a product");
  Form_State_Label("Editing an order item");
  Cmd_Action_Caption("Update Changes");

  form_.IsCalculating(true);
  int32_t trigger = kTriggerQuantity;
  form_.DoCalculation(trigger);
  form_.IsCalculating(false);
  form_.CalcItemSubTotals();
  form_.BindingState(false);
}

}  // namespace kvt::orders
