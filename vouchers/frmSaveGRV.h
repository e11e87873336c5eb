// frmSaveGRV — "Save GRV": shown when a voucher of any kind is saved. The
// clerk chooses to save the voucher alone or with its supplier document
// (invoice, credit note, receipt or return note), gives that document's
// number and date, and picks the accounting period to post to, within the
// company's posting rules (component::PostingRules).
//
// Controls: optSaveGRV(0) save only, optSaveGRV(1) save with the document;
// in frameMain(1): lblGRV(0..2) captions, txtGRV(0) document number, dtpGRV
// its date, dbcGRV(0) month and dbcGRV(1) year of the period; the heading
// lblAOSaveGRV; cmdDo(1) Save and cmdDo(0) Cancel.
//
// Save (confirmed) hides the dialog and the host reads the answers through
// CGRV; Cancel unloads it. Changing the month or the year checks the period
// and restores a refused one, unless the thread's store says the dialog is
// being filled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "component/dialog.h"
#include "platform/ui/layout.h"
#include "platform/value/date.h"
#include "platform/value/variant.h"
#include "vouchers/save_periods.h"

namespace kvt::ui {
class CommandButton;
class DataCombo;
class DatePicker;
class Frame;
class Label;
class OptionButton;
class TextBox;
}  // namespace kvt::ui

namespace kvt::vouchers {

inline constexpr const char* kPriorPeriodRefused =
    "Prior Accounting Period posting is not permitted";
inline constexpr const char* kFuturePeriodRefused =
    "Future Accounting Period posting is not permitted";
inline constexpr const char* kClosedPeriodRefused =
    "Posting to any period Prior to the last\r\nSupplier Period Procedure is not permitted";
inline constexpr const char* kNoSupplierDocumentNumber = "Please enter a Supplier Inv No.";
inline constexpr const char* kConfirmPosting = "Confirm information before Posting?";

class frmSaveGRV : public component::Dialog {
 public:
  frmSaveGRV();

  bool IsLoaded() const override { return is_loaded_; }
  // Whether the supplier's document is to be created with the voucher.
  bool SaveInvoice() const { return save_invoice_; }
  // The current accounting period as last read (at binding or by a check).
  CurrentPeriod& Current() { return current_; }

  // The option, number-label and heading captions of transaction type
  // `tran_type` (19, 20, 31, 32); any other type changes nothing.
  void SetTransactionType(int tran_type);
  // The period the binding proposes: today's under auto-advance, else the
  // current accounting period. Raises at the first value it cannot use.
  void ProposePeriod();

  // The answers. The number as typed; the picked date, today when the
  // picker holds none; the bound value ("ID") of the selected month and
  // year rows, 0 with no row selected. Raise what the conversions raise.
  std::string SupplierInvNo();
  vb::Date SupplierInvDate();
  uint8_t AccPeriodMonth();
  int16_t AccPeriodYear();

  ui::OptionButton& optSaveGRV(int index) { return Reach(opt_save_grv_, index); }
  ui::TextBox& txtGRV() { return Reach(txt_grv_, 0); }
  ui::DatePicker& dtpGRV();
  ui::DataCombo& dbcGRV(int index) { return Reach(dbc_grv_, index); }
  ui::Label& lblGRV(int index) { return Reach(lbl_grv_, index); }
  ui::Label& lblAOSaveGRV();
  ui::Frame& frameMain() { return Reach(frame_main_, 1); }
  ui::CommandButton& cmdDo(int index) { return Reach(cmd_do_, index); }

 protected:
  void Build() override;
  void OnLoad() override;
  void OnUnload(bool& cancel) override;

 private:
  void OptionChosen(int index);
  void PeriodChanged();
  // Shows `message` (none when null) and restores the proposed period.
  void RefusePeriod(const char* message);
  void SaveClicked();

  bool is_loaded_ = false;
  bool save_invoice_ = false;
  CurrentPeriod current_;
  ui::ControlArray<ui::OptionButton> opt_save_grv_;
  ui::ControlArray<ui::TextBox> txt_grv_;
  ui::ControlArray<ui::DataCombo> dbc_grv_;
  ui::ControlArray<ui::Label> lbl_grv_;
  ui::ControlArray<ui::Frame> frame_main_;
  ui::ControlArray<ui::CommandButton> cmd_do_;
  ui::DatePicker* dtp_grv_ = nullptr;
  ui::Label* lbl_heading_ = nullptr;
};

// A new, unloaded save voucher dialog for the thread's slot.
std::shared_ptr<component::Dialog> MakeSaveVoucherDialog();
// The dialog in the thread's slot. Raises 91 when the slot is empty; does
// not load it.
frmSaveGRV& SharedSaveVoucherDialog();

// CGRV.BindSaveFormLups: stores the company as the shared CompanyID, keeps
// a new ControlSettings connected with the shared connection text, reads
// the current accounting period, binds the month and year lists, reads the
// company's posting rules, enables saving without the document as they
// say, proposes the period and fills the document's number and date. The
// period lists are not checked meanwhile. Raises at its first failure
// (91 once it needs a dialog and the slot has none), keeping what it did.
void BindSaveVoucherDialog(const vb::Variant& months, const vb::Variant& years,
                           const std::string& document_number, const vb::Date& document_date,
                           int32_t company_id);

}  // namespace kvt::vouchers
