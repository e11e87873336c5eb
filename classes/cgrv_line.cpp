// CGRV's receive item dialog: its lifecycle, the line properties, the
// fills and the detail-row writers.
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "component/dialog_lifecycle.h"
#include "component/mod_general.h"
#include "component/mod_publics.h"
#include "platform/ui/data_combo.h"
#include "platform/value/failure_style.h"
#include "vouchers/voucher_detail_rows.h"
#include "vouchers/voucher_line.h"

namespace kvt {
namespace {

using classes::RecordSetOf;
using vouchers::DetailLayout;
using vouchers::VoucherLine;

component::DialogSlot& ReceiveItemSlot() {
  return component::ThreadStore().Slot(component::DialogKind::kReceiveItem);
}

VoucherLine Line() { return VoucherLine(vouchers::SharedReceiveItemDialog()); }

}  // namespace

std::string CGRV::LineText(std::string_view name) const { return Line().Get(name); }
void CGRV::LineText(std::string_view name, const std::string& value) { Line().Let(name, value); }

void CGRV::LoadGRVDetailForm() {
  component::LoadDialog(ReceiveItemSlot(), vouchers::MakeReceiveItemDialog);
}
void CGRV::UnloadGRVDetailForm() { component::UnloadDialog(ReceiveItemSlot()); }
void CGRV::ShowGRVDetailForm() {
  const bool is_crn = mbIsCRN();
  component::ShowDialog(ReceiveItemSlot(), vouchers::MakeReceiveItemDialog,
                        [is_crn](component::Dialog& dialog) {
                          static_cast<vouchers::frmEditGRVDetail&>(dialog).IsCRN(is_crn);
                        });
}
void CGRV::HideGRVDetailForm() { component::HideDialog(ReceiveItemSlot()); }
bool CGRV::IsGRVDetailFormLoaded() { return component::IsDialogLoaded(ReceiveItemSlot()); }

void CGRV::BindFormulaDBC(KvFormulaType pFormula) {
  vb::PassOver([&] {
    const int kind = static_cast<int>(pFormula);
    auto& list = static_cast<ui::DataCombo&>(vouchers::SharedReceiveItemDialog().Element(
        vouchers::frmEditGRVDetail::Array::kDbcODEdit, kind));
    component::BindLookupList(list, kind);
  });
}

void CGRV::Set_Form_State(kvFormState value) {
  vb::StopSilently(
      [&] { vouchers::SharedReceiveItemDialog().SetFormState(static_cast<int32_t>(value)); });
}

void CGRV::AssignAllForAdding(const vb::Variant& pDetailSourceRS) {
  vb::StopSilently([&] { Line().AssignAllForAdding(RecordSetOf(pDetailSourceRS)); });
}
void CGRV::AssignAllForEditing(const vb::Variant& pRSGRVDetail) {
  vb::StopSilently([&] { Line().AssignAllForEditing(RecordSetOf(pRSGRVDetail), false); });
}
void CGRV::AssignAllForReturnAdding(const vb::Variant& pRSGRVDetail) {
  vb::StopSilently([&] { Line().AssignAllForReturnAdding(RecordSetOf(pRSGRVDetail)); });
}
void CGRV::AssignAllForCRVAdding(const vb::Variant& pDetailSourceRS) {
  vb::StopSilently([&] { Line().AssignAllForCRVAdding(RecordSetOf(pDetailSourceRS)); });
}
void CGRV::AssignAllForCRVEditing(const vb::Variant& pRSGRVDetail) {
  vb::StopSilently([&] { Line().AssignAllForEditing(RecordSetOf(pRSGRVDetail), true); });
}
void CGRV::AssignAllForCRVReturnAdding(const vb::Variant& pRSGRVDetail) {
  vb::StopSilently([&] { Line().AssignAllForCRVReturnAdding(RecordSetOf(pRSGRVDetail)); });
}

void CGRV::AddGRVDetailToRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    vouchers::AddVoucherDetail(vouchers::SharedReceiveItemDialog(), RecordSetOf(DestinationRS),
                               DetailLayout::kGoodsReceived);
  });
}
void CGRV::UpdateGRVDetailRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    vouchers::UpdateVoucherDetail(vouchers::SharedReceiveItemDialog(), RecordSetOf(DestinationRS),
                                  DetailLayout::kGoodsReceived);
  });
}
void CGRV::AddCRVDetailToRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    vouchers::AddVoucherDetail(vouchers::SharedReceiveItemDialog(), RecordSetOf(DestinationRS),
                               DetailLayout::kConsignment);
  });
}
void CGRV::UpdateCRVDetailRS(const vb::Variant& DestinationRS) {
  vb::StopSilently([&] {
    vouchers::UpdateVoucherDetail(vouchers::SharedReceiveItemDialog(), RecordSetOf(DestinationRS),
                                  DetailLayout::kConsignment);
  });
}

namespace classes {

void BindCGRVLineMembers(CGRVTable& table) {
  BindProperties(table, vouchers::VoucherLineProperties(), vouchers::SharedReceiveItemDialog);
  BindOperation(table, "LoadGRVDetailForm", &CGRV::LoadGRVDetailForm);
  BindOperation(table, "UnloadGRVDetailForm", &CGRV::UnloadGRVDetailForm);
  BindOperation(table, "ShowGRVDetailForm", &CGRV::ShowGRVDetailForm);
  BindOperation(table, "HideGRVDetailForm", &CGRV::HideGRVDetailForm);
  BindFlag(table, "IsGRVDetailFormLoaded", &CGRV::IsGRVDetailFormLoaded);
  BindCall(table, "BindFormulaDBC", &CGRV::BindFormulaDBC);
  table.Let("Set_Form_State", [](CGRV& self, object::Args args) {
    self.Set_Form_State(static_cast<kvFormState>(vb::CLng(args.back())));
  });
  BindCall(table, "AssignAllForAdding", &CGRV::AssignAllForAdding);
  BindCall(table, "AssignAllForEditing", &CGRV::AssignAllForEditing);
  BindCall(table, "AssignAllForReturnAdding", &CGRV::AssignAllForReturnAdding);
  BindCall(table, "AssignAllForCRVAdding", &CGRV::AssignAllForCRVAdding);
  BindCall(table, "AssignAllForCRVEditing", &CGRV::AssignAllForCRVEditing);
  BindCall(table, "AssignAllForCRVReturnAdding", &CGRV::AssignAllForCRVReturnAdding);
  BindCall(table, "AddGRVDetailToRS", &CGRV::AddGRVDetailToRS);
  BindCall(table, "UpdateGRVDetailRS", &CGRV::UpdateGRVDetailRS);
  BindCall(table, "AddCRVDetailToRS", &CGRV::AddCRVDetailToRS);
  BindCall(table, "UpdateCRVDetailRS", &CGRV::UpdateCRVDetailRS);
}

}  // namespace classes
}  // namespace kvt
