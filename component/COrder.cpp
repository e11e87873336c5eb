#include "kvt/COrder.h"

#include "component/dialog_lifecycle.h"
#include "component/call_kind.h"
#include "component/mod_publics.h"
#include "component/published_members.h"
#include "orders/frmDeliveryDetails.h"
#include "platform/object/member_table.h"
#include "platform/value/conversions.h"

namespace kvt {

namespace {

using component::ThreadStore;
using component::ToInvokeKind;
using Table = object::MemberTable<COrder>;

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
