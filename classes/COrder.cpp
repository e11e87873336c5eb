#include "kvt/COrder.h"

#include "classes/call_kind.h"
#include "classes/member_binding.h"
#include "classes/published_members.h"
#include "component/dialog_lifecycle.h"
#include "component/mod_publics.h"
#include "documents/purchase_order_printing.h"
#include "orders/frmDeliveryDetails.h"
#include "orders/header_totals.h"
#include "orders/order_detail_rows.h"
#include "orders/order_header_binding.h"
#include "orders/order_line.h"
#include "platform/data/record_set.h"
#include "platform/object/member_table.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/failure_style.h"
#include "services/number_format_service.h"

namespace kvt {

namespace {

using classes::RecordSetOf;
using component::ThreadStore;
using Table = object::MemberTable<COrder>;

component::DialogSlot& OrderItemSlot() {
  return ThreadStore().Slot(component::DialogKind::kOrderItem);
}

component::DialogSlot& DeliverySlot() {
  return ThreadStore().Slot(component::DialogKind::kDelivery);
}

std::shared_ptr<component::Dialog> MakeDeliveryDialog() {
  return std::make_shared<orders::frmDeliveryDetails>();
}

// The shared order item dialog as the line properties reach it.
orders::OrderLine Line() { return orders::OrderLine(orders::SharedOrderItemDialog()); }

const Table& Members() {
  static const Table kTable = [] {
    Table table("COrder", classes::COrderPublishedMembers());
    classes::BindSharedSettings(table);
    table.Let("UserID",
              [](COrder& self, object::Args args) { self.UserID(vb::CLng(args.back())); });
    classes::BindProperties(table, orders::DeliveryProperties(), orders::SharedDeliveryDialog);
    classes::BindProperties(table, orders::OrderLineProperties(), orders::SharedOrderItemDialog);

    classes::BindOperation(table, "LoadDeliveryForm", &COrder::LoadDeliveryForm);
    classes::BindOperation(table, "UnloadDeliveryForm", &COrder::UnloadDeliveryForm);
    classes::BindOperation(table, "ShowDeliveryForm", &COrder::ShowDeliveryForm);
    classes::BindOperation(table, "HideDeliveyForm", &COrder::HideDeliveyForm);
    classes::BindFlag(table, "IsDeliveryFormLoaded", &COrder::IsDeliveryFormLoaded);
    classes::BindFlag(table, "IsEditFormLoaded", &COrder::IsEditFormLoaded);
    classes::BindOperation(table, "LoadDetailForm", &COrder::LoadDetailForm);
    classes::BindOperation(table, "UnloadDetailForm", &COrder::UnloadDetailForm);
    classes::BindOperation(table, "ShowDetailForm", &COrder::ShowDetailForm);
    classes::BindOperation(table, "HideDetailForm", &COrder::HideDetailForm);

    classes::BindCall(table, "BindFormulaDBC", &COrder::BindFormulaDBC);
    classes::BindCall(table, "AssignAllForAdding", &COrder::AssignAllForAdding);
    classes::BindCall(table, "AssignAllForEditing", &COrder::AssignAllForEditing);
    classes::BindCall(table, "AddOrderDetailToRS", &COrder::AddOrderDetailToRS);
    classes::BindCall(table, "UpdateOrderDetailRS", &COrder::UpdateOrderDetailRS);
    classes::BindCall(table, "ClearHeaderControls", &COrder::ClearHeaderControls);
    classes::BindCall(table, "BindOrderHeader", &COrder::BindOrderHeader);
    classes::BindCall(table, "CalculateHeaderTotals", &COrder::CalculateHeaderTotals);
    classes::BindCall(table, "SetProductDetails", &COrder::SetProductDetails);
    // RePrint may be left out.
    classes::BindCall(table, "ShowPurchaseOrder", &COrder::ShowPurchaseOrder, 1);
    return table;
  }();
  return kTable;
}

}  // namespace

struct COrder::Impl {};

COrder::COrder() : impl_(std::make_unique<Impl>()) {}
COrder::~COrder() = default;
COrder::COrder(COrder&&) noexcept = default;
COrder& COrder::operator=(COrder&&) noexcept = default;

void COrder::UserID(int32_t value) { ThreadStore().settings.user_id = value; }

std::string COrder::LineText(std::string_view name) const { return Line().Get(name); }
void COrder::LineText(std::string_view name, const std::string& value) { Line().Let(name, value); }
int32_t COrder::LineNumber(std::string_view name) const { return vb::CLng(Line().Get(name)); }

std::string COrder::DeliveryText(std::string_view name) const {
  return vb::CStr(component::GetProperty(
      orders::SharedDeliveryDialog(), component::FindProperty(orders::DeliveryProperties(), name)));
}
void COrder::DeliveryText(std::string_view name, const std::string& value) {
  component::LetProperty(orders::SharedDeliveryDialog(),
                         component::FindProperty(orders::DeliveryProperties(), name), value);
}
bool COrder::DeliveryFlag(std::string_view name) const {
  return vb::CBool(component::GetProperty(
      orders::SharedDeliveryDialog(), component::FindProperty(orders::DeliveryProperties(), name)));
}
void COrder::DeliveryFlag(std::string_view name, bool value) {
  component::LetProperty(orders::SharedDeliveryDialog(),
                         component::FindProperty(orders::DeliveryProperties(), name), value);
}

void COrder::LoadDeliveryForm() { component::LoadDialog(DeliverySlot(), MakeDeliveryDialog); }
void COrder::UnloadDeliveryForm() { component::UnloadDialog(DeliverySlot()); }
void COrder::ShowDeliveryForm() { component::ShowDialog(DeliverySlot(), MakeDeliveryDialog); }
void COrder::HideDeliveyForm() { component::HideDialog(DeliverySlot()); }
bool COrder::IsDeliveryFormLoaded() { return component::IsDialogLoaded(DeliverySlot()); }

bool COrder::IsEditFormLoaded() { return component::IsDialogLoaded(OrderItemSlot()); }
void COrder::LoadDetailForm() {
  component::LoadDialog(OrderItemSlot(), orders::MakeOrderItemDialog);
}
void COrder::UnloadDetailForm() { component::UnloadDialog(OrderItemSlot()); }
void COrder::ShowDetailForm() {
  component::ShowDialog(OrderItemSlot(), orders::MakeOrderItemDialog);
}
void COrder::HideDetailForm() { component::HideDialog(OrderItemSlot()); }

void COrder::BindFormulaDBC(KvFormulaType pFormula) {
  vb::PassOver([&] { Line().BindFormulaDBC(static_cast<int>(pFormula)); });
}

void COrder::AssignAllForAdding(const vb::Variant& pRSProductDetail, double pOrderQty,
                                const std::string& pOrderNo) {
  vb::StopSilently(
      [&] { Line().AssignAllForAdding(RecordSetOf(pRSProductDetail), pOrderQty, pOrderNo); });
}

void COrder::AssignAllForEditing(const vb::Variant& pRSProductDetail,
                                 const vb::Variant& pRSOrderDetail, const std::string& pOrderNo) {
  vb::StopSilently([&] {
    Line().AssignAllForEditing(RecordSetOf(pRSProductDetail), RecordSetOf(pRSOrderDetail),
                               pOrderNo);
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
        orders::AddOrderDetailToRS(orders::SharedOrderItemDialog(), RecordSetOf(DestinationRS));
      });
}

void COrder::UpdateOrderDetailRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    orders::UpdateOrderDetailRS(orders::SharedOrderItemDialog(), RecordSetOf(DestinationRS));
  });
}

void COrder::CalculateHeaderTotals(const vb::Variant& pRS, const vb::Variant& plblOHeader) {
  vb::StopSilently([&] {
    object::ObjectPtr labels = object::AsObject(plblOHeader);
    orders::CalculateHeaderTotals(
        RecordSetOf(pRS), ThreadStore().NumberFormat(), [&](int index, const std::string& caption) {
          object::LetProperty(vb::Variant(vb::ObjectRef(labels->Item(index))), "Caption", caption);
        });
  });
}

void COrder::SetProductDetails(const vb::Variant& pFormName, const vb::Variant& pForeCaster) {
  orders::SetProductDetails(pFormName, pForeCaster);
}

void COrder::ClearHeaderControls(const vb::Variant& FormName) {
  orders::ClearHeaderControls(FormName);
}

void COrder::BindOrderHeader(const vb::Variant& FormName) { orders::BindOrderHeader(FormName); }

void COrder::ShowPurchaseOrder(int32_t OrderID, bool pShowPreview, const std::string& pDatabase,
                               bool RePrint) {
  // Printing passes failures over step by step; creating the gateway is
  // one more such step.
  vb::PassOver([&] {
    component::Store& store = ThreadStore();
    documents::PrintPurchaseOrder(OrderID, pShowPreview, pDatabase, RePrint,
                                  store.settings.connection_string, store.DataGateway());
  });
}

int32_t COrder::SlotOf(std::string_view name) { return Members().SlotOf(name); }

vb::Variant COrder::Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args) {
  return Members().Invoke(*this, slot, classes::ToInvokeKind(kind), args);
}

vb::Variant COrder::Invoke(std::string_view name, CallKind kind, std::span<vb::Variant> args) {
  return Members().Invoke(*this, name, classes::ToInvokeKind(kind), args);
}

}  // namespace kvt
