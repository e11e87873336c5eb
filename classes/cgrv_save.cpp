// CGRV's save voucher dialog: its lifecycle, the binding and the answers
// the host reads after it closes.
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "component/dialog_lifecycle.h"
#include "component/mod_publics.h"
#include "platform/value/failure_style.h"
#include "vouchers/frmSaveGRV.h"

namespace kvt {
namespace {

component::DialogSlot& SaveSlot() {
  return component::ThreadStore().Slot(component::DialogKind::kSaveVoucher);
}

}  // namespace

void CGRV::LoadGRVSaveForm() { component::LoadDialog(SaveSlot(), vouchers::MakeSaveVoucherDialog); }
void CGRV::UnloadGRVSaveForm() { component::UnloadDialog(SaveSlot()); }
void CGRV::HideGRVSaveForm() { component::HideDialog(SaveSlot()); }
bool CGRV::IsGRVSaveFormLoaded() { return component::IsDialogLoaded(SaveSlot()); }

void CGRV::BindSaveFormLups(const vb::Variant& pMonthsRS, const vb::Variant& pYearsRS,
                            const std::string& pDocNo, const vb::Date& pDocDate,
                            int32_t pCompanyID) {
  vb::StopSilently(
      [&] { vouchers::BindSaveVoucherDialog(pMonthsRS, pYearsRS, pDocNo, pDocDate, pCompanyID); });
}

void CGRV::ShowGRVSaveForm(uint8_t pTranType) {
  component::ShowDialog(SaveSlot(), vouchers::MakeSaveVoucherDialog,
                        [pTranType](component::Dialog& dialog) {
                          static_cast<vouchers::frmSaveGRV&>(dialog).SetTransactionType(pTranType);
                        });
}

bool CGRV::Save_Supplier_Inv() const {
  return vb::RaiseToCaller([] { return vouchers::SharedSaveVoucherDialog().SaveInvoice(); });
}
std::string CGRV::Supplier_Inv_No() const {
  return vb::RaiseToCaller([] { return vouchers::SharedSaveVoucherDialog().SupplierInvNo(); });
}
vb::Date CGRV::Supplier_Inv_Date() const {
  return vb::RaiseToCaller([] { return vouchers::SharedSaveVoucherDialog().SupplierInvDate(); });
}
uint8_t CGRV::Acc_Period_Month() const {
  return vb::RaiseToCaller([] { return vouchers::SharedSaveVoucherDialog().AccPeriodMonth(); });
}
int16_t CGRV::Acc_Period_Year() const {
  return vb::RaiseToCaller([] { return vouchers::SharedSaveVoucherDialog().AccPeriodYear(); });
}

namespace classes {

void BindCGRVSaveMembers(CGRVTable& table) {
  BindOperation(table, "LoadGRVSaveForm", &CGRV::LoadGRVSaveForm);
  BindOperation(table, "UnloadGRVSaveForm", &CGRV::UnloadGRVSaveForm);
  BindOperation(table, "HideGRVSaveForm", &CGRV::HideGRVSaveForm);
  BindFlag(table, "IsGRVSaveFormLoaded", &CGRV::IsGRVSaveFormLoaded);
  BindCall(table, "ShowGRVSaveForm", &CGRV::ShowGRVSaveForm);
  BindCall(table, "BindSaveFormLups", &CGRV::BindSaveFormLups);
  table.Get("Save_Supplier_Inv",
            [](CGRV& self, object::Args) -> vb::Variant { return self.Save_Supplier_Inv(); });
  table.Get("Supplier_Inv_No",
            [](CGRV& self, object::Args) -> vb::Variant { return self.Supplier_Inv_No(); });
  table.Get("Supplier_Inv_Date",
            [](CGRV& self, object::Args) -> vb::Variant { return self.Supplier_Inv_Date(); });
  table.Get("Acc_Period_Month", [](CGRV& self, object::Args) -> vb::Variant {
    return vb::Variant::Byte(self.Acc_Period_Month());
  });
  table.Get("Acc_Period_Year", [](CGRV& self, object::Args) -> vb::Variant {
    return vb::Variant::Integer(self.Acc_Period_Year());
  });
}

}  // namespace classes
}  // namespace kvt
