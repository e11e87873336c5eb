#include "kvt/COrder.h"

#include "component/dialog_lifecycle.h"
#include "component/call_kind.h"
#include "component/mod_publics.h"
#include "component/published_members.h"
#include "platform/value/failure_style.h"
#include "documents/purchase_order_printing.h"
#include "orders/frmDeliveryDetails.h"
#include "orders/header_totals.h"
#include "orders/order_detail_rows.h"
#include "orders/order_header_binding.h"
#include "orders/order_line.h"
#include "platform/data/record_set.h"
#include "platform/ui/msg_box.h"
#include "services/number_format_service.h"
#include "platform/object/member_table.h"
#include "platform/value/conversions.h"

namespace kvt {

namespace {

using component::ThreadStore;
using component::ToInvokeKind;
using Table = object::MemberTable<COrder>;

component::DialogSlot& OrderItemSlot() {
  return ThreadStore().Slot(component::DialogKind::kOrderItem);
}

// The shared order item dialog as the line properties reach it.
orders::OrderLine Line() {
  return orders::OrderLine(orders::SharedOrderItemDialog());
}

// The record set a Variant holds: 91 for no object, 13 for another kind.
data::RecordSet& RecordSetOf(const vb::Variant& value) {
  const vb::ObjectRef* object = value.get_if<vb::ObjectRef>();
  if (object == nullptr || *object == nullptr) throw vb::Error::ObjectNotSet();
  auto* rows = dynamic_cast<data::RecordSet*>(object->get());
  if (rows == nullptr) throw vb::Error::TypeMismatch();
  return *rows;
}

component::DialogSlot& DeliverySlot() {
  return ThreadStore().Slot(component::DialogKind::kDelivery);
}

std::shared_ptr<component::Dialog> MakeDeliveryDialog() {
  return std::make_shared<orders::frmDeliveryDetails>();
}

// Binds a text property: Get reads it, Let converts the value with CStr.
void TextProperty(Table& table, std::string_view name,
                  std::string (COrder::*get)() const,
                  void (COrder::*let)(const std::string&)) {
  table.Get(name, [get](COrder& self, object::Args) -> vb::Variant {
    return (self.*get)();
  });
  table.Let(name, [let](COrder& self, object::Args args) {
    (self.*let)(vb::CStr(args.back()));
  });
}

void WriteOnlyText(Table& table, std::string_view name,
                   void (COrder::*let)(const std::string&)) {
  table.Let(name, [let](COrder& self, object::Args args) {
    (self.*let)(vb::CStr(args.back()));
  });
}

void BoolProperty(Table& table, std::string_view name,
                  bool (COrder::*get)() const, void (COrder::*let)(bool)) {
  table.Get(name, [get](COrder& self, object::Args) -> vb::Variant {
    return (self.*get)();
  });
  if (let != nullptr) {
    table.Let(name, [let](COrder& self, object::Args args) {
      (self.*let)(vb::CBool(args.back()));
    });
  }
}

void SettingProperty(Table& table, std::string_view name,
                     void (COrder::*let)(int32_t)) {
  table.Let(name, [let](COrder& self, object::Args args) {
    (self.*let)(vb::CLng(args.back()));
  });
}

void Operation(Table& table, std::string_view name, void (COrder::*run)()) {
  table.Call(name, [run](COrder& self, object::Args) -> vb::Variant {
    (self.*run)();
    return {};
  });
}

const Table& Members() {
  static const Table kTable = [] {
    Table table("COrder", component::COrderPublishedMembers());
    table.Let("ConnectionString", [](COrder& self, object::Args args) {
      self.ConnectionString(vb::CStr(args.back()));
    });
    SettingProperty(table, "CompanyID", &COrder::CompanyID);
    SettingProperty(table, "UserID", &COrder::UserID);
    SettingProperty(table, "QtyDecimals", &COrder::QtyDecimals);
    SettingProperty(table, "PriceDecimals", &COrder::PriceDecimals);

    Operation(table, "LoadDeliveryForm", &COrder::LoadDeliveryForm);
    Operation(table, "UnloadDeliveryForm", &COrder::UnloadDeliveryForm);
    Operation(table, "ShowDeliveryForm", &COrder::ShowDeliveryForm);
    Operation(table, "HideDeliveyForm", &COrder::HideDeliveyForm);
    table.Get("IsDeliveryFormLoaded", [](COrder& self, object::Args) -> vb::Variant {
      return self.IsDeliveryFormLoaded();
    });

    TextProperty(table, "Order_No", &COrder::Order_No, &COrder::Order_No);
    TextProperty(table, "Date_Ordered", &COrder::Date_Ordered,
                 &COrder::Date_Ordered);
    TextProperty(table, "Supplier_Name", &COrder::Supplier_Name,
                 &COrder::Supplier_Name);
    TextProperty(table, "Created_By", &COrder::Created_By, &COrder::Created_By);
    TextProperty(table, "Del_Name", &COrder::Del_Name, &COrder::Del_Name);
    TextProperty(table, "Del_Address1", &COrder::Del_Address1,
                 &COrder::Del_Address1);
    TextProperty(table, "Del_Address2", &COrder::Del_Address2,
                 &COrder::Del_Address2);
    TextProperty(table, "Del_Address3", &COrder::Del_Address3,
                 &COrder::Del_Address3);
    TextProperty(table, "Del_PostCode", &COrder::Del_PostCode,
                 &COrder::Del_PostCode);
    BoolProperty(table, "Process_Order_Enabled", &COrder::Process_Order_Enabled,
                 &COrder::Process_Order_Enabled);
    BoolProperty(table, "Save_Order_Enabled", &COrder::Save_Order_Enabled,
                 &COrder::Save_Order_Enabled);
    BoolProperty(table, "OrderNow", &COrder::OrderNow, nullptr);

    table.Get("IsEditFormLoaded", [](COrder& self, object::Args) -> vb::Variant {
      return self.IsEditFormLoaded();
    });
    Operation(table, "LoadDetailForm", &COrder::LoadDetailForm);
    Operation(table, "UnloadDetailForm", &COrder::UnloadDetailForm);
    Operation(table, "ShowDetailForm", &COrder::ShowDetailForm);
    Operation(table, "HideDetailForm", &COrder::HideDetailForm);
    const std::pair<std::string_view, void (COrder::*)(const std::string&)>
        write_only[] = {
            {"Product_Name", &COrder::Product_Name},
            {"Selling_Price_1", &COrder::Selling_Price_1},
            {"Selling_Price_2", &COrder::Selling_Price_2},
            {"Last_Sale_Date", &COrder::Last_Sale_Date},
            {"Stock_On_Hand", &COrder::Stock_On_Hand},
            {"Stock_Reserved", &COrder::Stock_Reserved},
            {"Qty_On_Order", &COrder::Qty_On_Order},
            {"Orders_Pending", &COrder::Orders_Pending},
            {"Shopping_List_Qty", &COrder::Shopping_List_Qty},
            {"Last_Cost", &COrder::Last_Cost},
            {"ODOrder_Number", &COrder::ODOrder_Number},
            {"Form_Caption", &COrder::Form_Caption},
            {"Form_State_Label", &COrder::Form_State_Label},
            {"Cmd_Action_Caption", &COrder::Cmd_Action_Caption}};
    for (const auto& [name, let] : write_only) WriteOnlyText(table, name, let);
    table.Get("Product_ID", [](COrder& self, object::Args) -> vb::Variant {
      return self.Product_ID();
    });
    table.Let("Product_ID", [](COrder& self, object::Args args) {
      self.Product_ID(vb::CLng(args.back()));
    });
    using TextGet = std::string (COrder::*)() const;
    using TextLet = void (COrder::*)(const std::string&);
    const std::tuple<std::string_view, TextGet, TextLet> line_text[] = {
        {"Back_Order_Qty", &COrder::Back_Order_Qty, &COrder::Back_Order_Qty},
        {"Free_Qty", &COrder::Free_Qty, &COrder::Free_Qty},
        {"Lead_Time", &COrder::Lead_Time, &COrder::Lead_Time},
        {"Service_Level", &COrder::Service_Level, &COrder::Service_Level},
        {"Order_Qty", &COrder::Order_Qty, &COrder::Order_Qty},
        {"Unit_Price", &COrder::Unit_Price, &COrder::Unit_Price},
        {"Trade_Disc_Formula", &COrder::Trade_Disc_Formula, &COrder::Trade_Disc_Formula},
        {"Trade_Discount", &COrder::Trade_Discount, &COrder::Trade_Discount},
        {"Rebate_Disc_Formula", &COrder::Rebate_Disc_Formula, &COrder::Rebate_Disc_Formula},
        {"Rebate_Discount", &COrder::Rebate_Discount, &COrder::Rebate_Discount},
        {"Other_Disc_Formula", &COrder::Other_Disc_Formula, &COrder::Other_Disc_Formula},
        {"Other_Discount", &COrder::Other_Discount, &COrder::Other_Discount},
        {"Tax_Code", &COrder::Tax_Code, &COrder::Tax_Code},
        {"Tax", &COrder::Tax, &COrder::Tax},
        {"Net_Amount", &COrder::Net_Amount, &COrder::Net_Amount},
        {"Total_Cost", &COrder::Total_Cost, &COrder::Total_Cost}};
    for (const auto& [name, get, let] : line_text) TextProperty(table, name, get, let);

    table.Call("BindFormulaDBC", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 1) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.BindFormulaDBC(static_cast<KvFormulaType>(vb::CLng(args[0])));
      return {};
    });
    table.Call("AssignAllForAdding", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 3) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.AssignAllForAdding(args[0], vb::CDbl(args[1]), vb::CStr(args[2]));
      return {};
    });
    table.Call("AssignAllForEditing", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 3) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.AssignAllForEditing(args[0], args[1], vb::CStr(args[2]));
      return {};
    });
    table.Call("AddOrderDetailToRS", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 1) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.AddOrderDetailToRS(args[0]);
      return {};
    });
    table.Call("UpdateOrderDetailRS", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 1) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.UpdateOrderDetailRS(args[0]);
      return {};
    });
    table.Call("CalculateHeaderTotals", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 2) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.CalculateHeaderTotals(args[0], args[1]);
      return {};
    });
    table.Call("SetProductDetails", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 2) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.SetProductDetails(args[0], args[1]);
      return {};
    });
    table.Call("ClearHeaderControls", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 1) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.ClearHeaderControls(args[0]);
      return {};
    });
    table.Call("BindOrderHeader", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 1) throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      self.BindOrderHeader(args[0]);
      return {};
    });
    table.Call("ShowPurchaseOrder", [](COrder& self, object::Args args) -> vb::Variant {
      if (args.size() != 3 && args.size() != 4) {
        throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
      }
      self.ShowPurchaseOrder(vb::CLng(args[0]), vb::CBool(args[1]), vb::CStr(args[2]),
                             args.size() == 4 && vb::CBool(args[3]));
      return {};
    });
    BoolProperty(table, "Show_Report_Preview", &COrder::Show_Report_Preview,
                 nullptr);
    return table;
  }();
  return kTable;
}

}  // namespace

struct COrder::Impl {};

COrder::COrder() : impl_(std::make_unique<Impl>()) {
  // The thread's store comes into being with the first class instance.
  ThreadStore();
}

COrder::~COrder() = default;
COrder::COrder(COrder&&) noexcept = default;
COrder& COrder::operator=(COrder&&) noexcept = default;

void COrder::ConnectionString(const std::string& value) {
  ThreadStore().settings.connection_string = value;
}
void COrder::CompanyID(int32_t value) { ThreadStore().settings.company_id = value; }
void COrder::UserID(int32_t value) { ThreadStore().settings.user_id = value; }
void COrder::QtyDecimals(int32_t value) {
  ThreadStore().settings.qty_decimals = value;
}
void COrder::PriceDecimals(int32_t value) {
  ThreadStore().settings.price_decimals = value;
}

void COrder::LoadDeliveryForm() {
  component::LoadDialog(DeliverySlot(), MakeDeliveryDialog);
}
void COrder::UnloadDeliveryForm() { component::UnloadDialog(DeliverySlot()); }
void COrder::ShowDeliveryForm() {
  component::ShowDialog(DeliverySlot(), MakeDeliveryDialog);
}
void COrder::HideDeliveyForm() { component::HideDialog(DeliverySlot()); }
bool COrder::IsDeliveryFormLoaded() {
  return component::IsDialogLoaded(DeliverySlot());
}

std::string COrder::Order_No() const { return orders::delivery::Order_No(); }
void COrder::Order_No(const std::string& value) {
  orders::delivery::Order_No(value);
}
std::string COrder::Date_Ordered() const {
  return orders::delivery::Date_Ordered();
}
void COrder::Date_Ordered(const std::string& value) {
  orders::delivery::Date_Ordered(value);
}
std::string COrder::Supplier_Name() const {
  return orders::delivery::Supplier_Name();
}
void COrder::Supplier_Name(const std::string& value) {
  orders::delivery::Supplier_Name(value);
}
std::string COrder::Created_By() const { return orders::delivery::Created_By(); }
void COrder::Created_By(const std::string& value) {
  orders::delivery::Created_By(value);
}
std::string COrder::Del_Name() const { return orders::delivery::Del_Name(); }
void COrder::Del_Name(const std::string& value) {
  orders::delivery::Del_Name(value);
}
std::string COrder::Del_Address1() const {
  return orders::delivery::Del_Address1();
}
void COrder::Del_Address1(const std::string& value) {
  orders::delivery::Del_Address1(value);
}
std::string COrder::Del_Address2() const {
  return orders::delivery::Del_Address2();
}
void COrder::Del_Address2(const std::string& value) {
  orders::delivery::Del_Address2(value);
}
std::string COrder::Del_Address3() const {
  return orders::delivery::Del_Address3();
}
void COrder::Del_Address3(const std::string& value) {
  orders::delivery::Del_Address3(value);
}
std::string COrder::Del_PostCode() const {
  return orders::delivery::Del_PostCode();
}
void COrder::Del_PostCode(const std::string& value) {
  orders::delivery::Del_PostCode(value);
}
bool COrder::Process_Order_Enabled() const {
  return orders::delivery::Process_Order_Enabled();
}
void COrder::Process_Order_Enabled(bool value) {
  orders::delivery::Process_Order_Enabled(value);
}
bool COrder::Save_Order_Enabled() const {
  return orders::delivery::Save_Order_Enabled();
}
void COrder::Save_Order_Enabled(bool value) {
  orders::delivery::Save_Order_Enabled(value);
}
bool COrder::OrderNow() const { return orders::delivery::OrderNow(); }
bool COrder::Show_Report_Preview() const {
  return orders::delivery::Show_Report_Preview();
}

bool COrder::IsEditFormLoaded() { return component::IsDialogLoaded(OrderItemSlot()); }
void COrder::LoadDetailForm() {
  component::LoadDialog(OrderItemSlot(), orders::MakeOrderItemDialog);
}
void COrder::UnloadDetailForm() { component::UnloadDialog(OrderItemSlot()); }
void COrder::ShowDetailForm() {
  component::ShowDialog(OrderItemSlot(), orders::MakeOrderItemDialog);
}
void COrder::HideDetailForm() { component::HideDialog(OrderItemSlot()); }

void COrder::Product_Name(const std::string& value) { Line().Product_Name(value); }
void COrder::Selling_Price_1(const std::string& value) { Line().Selling_Price_1(value); }
void COrder::Selling_Price_2(const std::string& value) { Line().Selling_Price_2(value); }
void COrder::Last_Sale_Date(const std::string& value) { Line().Last_Sale_Date(value); }
void COrder::Stock_On_Hand(const std::string& value) { Line().Stock_On_Hand(value); }
void COrder::Stock_Reserved(const std::string& value) { Line().Stock_Reserved(value); }
void COrder::Qty_On_Order(const std::string& value) { Line().Qty_On_Order(value); }
void COrder::Orders_Pending(const std::string& value) { Line().Orders_Pending(value); }
void COrder::Shopping_List_Qty(const std::string& value) { Line().Shopping_List_Qty(value); }
void COrder::Last_Cost(const std::string& value) { Line().Last_Cost(value); }
void COrder::ODOrder_Number(const std::string& value) { Line().ODOrder_Number(value); }
void COrder::Form_Caption(const std::string& value) { Line().Form_Caption(value); }
void COrder::Form_State_Label(const std::string& value) { Line().Form_State_Label(value); }
void COrder::Cmd_Action_Caption(const std::string& value) { Line().Cmd_Action_Caption(value); }
int32_t COrder::Product_ID() const { return Line().Product_ID(); }
void COrder::Product_ID(int32_t value) { Line().Product_ID(value); }
std::string COrder::Back_Order_Qty() const { return Line().Back_Order_Qty(); }
void COrder::Back_Order_Qty(const std::string& value) { Line().Back_Order_Qty(value); }
std::string COrder::Free_Qty() const { return Line().Free_Qty(); }
void COrder::Free_Qty(const std::string& value) { Line().Free_Qty(value); }
std::string COrder::Lead_Time() const { return Line().Lead_Time(); }
void COrder::Lead_Time(const std::string& value) { Line().Lead_Time(value); }
std::string COrder::Service_Level() const { return Line().Service_Level(); }
void COrder::Service_Level(const std::string& value) { Line().Service_Level(value); }
std::string COrder::Order_Qty() const { return Line().Order_Qty(); }
void COrder::Order_Qty(const std::string& value) { Line().Order_Qty(value); }
std::string COrder::Unit_Price() const { return Line().Unit_Price(); }
void COrder::Unit_Price(const std::string& value) { Line().Unit_Price(value); }
std::string COrder::Trade_Disc_Formula() const { return Line().Trade_Disc_Formula(); }
void COrder::Trade_Disc_Formula(const std::string& value) { Line().Trade_Disc_Formula(value); }
std::string COrder::Trade_Discount() const { return Line().Trade_Discount(); }
void COrder::Trade_Discount(const std::string& value) { Line().Trade_Discount(value); }
std::string COrder::Rebate_Disc_Formula() const { return Line().Rebate_Disc_Formula(); }
void COrder::Rebate_Disc_Formula(const std::string& value) { Line().Rebate_Disc_Formula(value); }
std::string COrder::Rebate_Discount() const { return Line().Rebate_Discount(); }
void COrder::Rebate_Discount(const std::string& value) { Line().Rebate_Discount(value); }
std::string COrder::Other_Disc_Formula() const { return Line().Other_Disc_Formula(); }
void COrder::Other_Disc_Formula(const std::string& value) { Line().Other_Disc_Formula(value); }
std::string COrder::Other_Discount() const { return Line().Other_Discount(); }
void COrder::Other_Discount(const std::string& value) { Line().Other_Discount(value); }
std::string COrder::Tax_Code() const { return Line().Tax_Code(); }
void COrder::Tax_Code(const std::string& value) { Line().Tax_Code(value); }
std::string COrder::Tax() const { return Line().Tax(); }
void COrder::Tax(const std::string& value) { Line().Tax(value); }
std::string COrder::Net_Amount() const { return Line().Net_Amount(); }
void COrder::Net_Amount(const std::string& value) { Line().Net_Amount(value); }
std::string COrder::Total_Cost() const { return Line().Total_Cost(); }
void COrder::Total_Cost(const std::string& value) { Line().Total_Cost(value); }

void COrder::BindFormulaDBC(KvFormulaType pFormula) {
  vb::PassOver([&] { Line().BindFormulaDBC(static_cast<int>(pFormula)); });
}

void COrder::AssignAllForAdding(const vb::Variant& pRSProductDetail,
                                double pOrderQty, const std::string& pOrderNo) {
  vb::StopSilently([&] {
    Line().AssignAllForAdding(RecordSetOf(pRSProductDetail), pOrderQty, pOrderNo);
  });
}

void COrder::AssignAllForEditing(const vb::Variant& pRSProductDetail,
                                 const vb::Variant& pRSOrderDetail,
                                 const std::string& pOrderNo) {
  vb::StopSilently([&] {
    Line().AssignAllForEditing(RecordSetOf(pRSProductDetail),
                               RecordSetOf(pRSOrderDetail), pOrderNo);
  });
}

void COrder::AddOrderDetailToRS(const vb::Variant& DestinationRS) {
  // Warn and go on: without a dialog or a record set there is nothing to
  // go on with, so that one warning is all.
  vb::WarnAndGoOn(
      [](const vb::Error& error) {
        ui::MsgBox(error.description(), ui::vbOKOnly | ui::vbExclamation);
      },
      [&] {
        orders::AddOrderDetailToRS(orders::SharedOrderItemDialog(),
                                   RecordSetOf(DestinationRS));
      });
}

void COrder::UpdateOrderDetailRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    orders::UpdateOrderDetailRS(orders::SharedOrderItemDialog(),
                                RecordSetOf(DestinationRS));
  });
}

void COrder::CalculateHeaderTotals(const vb::Variant& pRS,
                                   const vb::Variant& plblOHeader) {
  vb::StopSilently([&] {
    object::ObjectPtr labels = object::AsObject(plblOHeader);
    orders::CalculateHeaderTotals(
        RecordSetOf(pRS), ThreadStore().NumberFormat(),
        [&](int index, const std::string& caption) {
          object::LetProperty(vb::Variant(vb::ObjectRef(labels->Item(index))),
                              "Caption", caption);
        });
  });
}

void COrder::SetProductDetails(const vb::Variant& pFormName,
                               const vb::Variant& pForeCaster) {
  orders::SetProductDetails(pFormName, pForeCaster);
}

void COrder::ClearHeaderControls(const vb::Variant& FormName) {
  orders::ClearHeaderControls(FormName);
}

void COrder::BindOrderHeader(const vb::Variant& FormName) {
  orders::BindOrderHeader(FormName);
}

void COrder::ShowPurchaseOrder(int32_t OrderID, bool pShowPreview,
                               const std::string& pDatabase, bool RePrint) {
  // Printing passes failures over step by step; creating the gateway is
  // one more such step.
  vb::PassOver([&] {
    component::Store& store = ThreadStore();
    documents::PrintPurchaseOrder(OrderID, pShowPreview, pDatabase, RePrint,
                                  store.settings.connection_string, store.DataGateway());
  });
}

int32_t COrder::SlotOf(std::string_view name) { return Members().SlotOf(name); }

vb::Variant COrder::Invoke(int32_t slot, CallKind kind,
                           std::span<vb::Variant> args) {
  return Members().Invoke(*this, slot, ToInvokeKind(kind), args);
}

vb::Variant COrder::Invoke(std::string_view name, CallKind kind,
                           std::span<vb::Variant> args) {
  return Members().Invoke(*this, name, ToInvokeKind(kind), args);
}

}  // namespace kvt
