#include "vouchers/frmSaveGRV.h"

#include <utility>

#include "component/mod_publics.h"
#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/date_picker.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/failure_style.h"
#include "platform/value/text.h"
#include "services/control_settings.h"
#include "vouchers/frmEditGRVDetail.h"
#include "vouchers/save_period_rules.h"

namespace kvt::vouchers {
namespace {

using enum ui::ControlKind;
using ui::kBold;
using ui::kCancelButton;
using ui::kDateCheckBox;
using ui::kDropDownList;
using ui::kPlain;

// The choice, then the document and its period in the frame the choice
// enables, then the buttons. The design captions are a goods received
// voucher's.
constexpr ui::ControlLayout kLayout[] = {
    {kLabel, "lblAOSaveGRV", -1, 120, 120, 6000, 495, "Save GRV", kBold, nullptr, -1, "Tahoma", 18},
    {kOptionButton, "optSaveGRV", 0, 240, 780, 5880, 255, "Save as Goods Received Voucher only"},
    {kOptionButton, "optSaveGRV", 1, 240, 1080, 5880, 255,
     "Save as Goods Received Voucher, and create a Supplier's Invoice"},
    {kFrame, "frameMain", 1, 120, 1440, 6000, 1680},
    {kLabel, "lblGRV", 0, 120, 300, 1800, 255, "Supplier Inv No", kPlain, "frameMain", 1},
    {kTextBox, "txtGRV", 0, 2040, 270, 2400, 315, "", kPlain, "frameMain", 1},
    {kLabel, "lblGRV", 1, 120, 720, 1800, 255, "Supplier Inv Date", kPlain, "frameMain", 1},
    {kDatePicker, "dtpGRV", -1, 2040, 690, 1800, 315, "", kDateCheckBox, "frameMain", 1},
    {kLabel, "lblGRV", 2, 120, 1140, 1800, 255, "Accounting Period", kPlain, "frameMain", 1},
    {kDataCombo, "dbcGRV", 0, 2040, 1110, 1800, 315, "", kDropDownList, "frameMain", 1},
    {kDataCombo, "dbcGRV", 1, 3960, 1110, 1200, 315, "", kDropDownList, "frameMain", 1},
    {kCommandButton, "cmdDo", 1, 3600, 3300, 1215, 375, "&Save"},
    {kCommandButton, "cmdDo", 0, 4920, 3300, 1215, 375, "&Cancel", kCancelButton},
};

// The captions a transaction type sets; a null heading leaves it.
struct TypeCaptions {
  int type;
  const char* save_only;
  const char* save_with_document;
  const char* number;
  const char* heading;
};

constexpr TypeCaptions kTypeCaptions[] = {
    {19, "Save as Goods Received Voucher only",
     "Save as Goods Received Voucher, and create a Supplier's Invoice", "Supplier Invoice No",
     nullptr},
    {20, "Save as Goods Returned Voucher only",
     "Save as Goods Returned Voucher, and create a Supplier's Credit Note", "Supplier Refund No",
     "GRN"},
    {31, "Save as Consignment Received Voucher only",
     "Save as Consignment Received Voucher, and create a Supplier's Receipt", "Supplier Refund No",
     "CRV"},
    {32, "Save as Consignment Returned Voucher only",
     "Save as Consignment Returned Voucher, and create a Supplier's Return Note",
     "Supplier Refund No", "CRN"},
};

// The saved company check boxes behind the posting rules, in reading order.
struct RuleSetting {
  const char* name;
  int16_t index;
  bool component::PostingRules::*rule;
};

constexpr RuleSetting kRuleSettings[] = {
    {"chkAccountant", 0, &component::PostingRules::prior_periods},
    {"chkAccountant", 1, &component::PostingRules::future_periods},
    {"chkAutoAdvancePeriod", 1, &component::PostingRules::auto_advance},
    {"chkPriorPeriodGRVPosting", 0, &component::PostingRules::closed_periods},
    {"chkNonInvoiceGRV", 0, &component::PostingRules::without_document},
};

// Marks the dialog as being filled for a scope (binding, loading, a
// restore), so that the period lists it changes are not checked; a failure
// inside cannot leave the mark set.
class FillingScope {
 public:
  FillingScope()
      : flag_(component::ThreadStore().save_form_filling), was_(std::exchange(flag_, true)) {}
  ~FillingScope() { flag_ = was_; }
  FillingScope(const FillingScope&) = delete;
  FillingScope& operator=(const FillingScope&) = delete;

 private:
  bool& flag_;
  bool was_;
};

// The bound value of the selected row; empty with none selected, even
// when a bound value was set that no row has.
std::string SelectedBound(const ui::DataCombo& list) {
  return list.SelectedRow() >= 0 ? list.BoundText() : std::string();
}

void Inform(const char* message) { ui::MsgBox(message, ui::vbInformation, kStockReceiptsTitle); }

void BindList(ui::DataCombo& list, const vb::Variant& rows, const char* list_field) {
  const vb::ObjectRef* object = rows.get_if<vb::ObjectRef>();
  if (object == nullptr || *object == nullptr) throw vb::Error::ObjectNotSet(list.Name());
  list.RowSource(*object);
  list.ListField(list_field);
  list.BoundColumn("ID");
}

}  // namespace

frmSaveGRV::frmSaveGRV() : Dialog("frmSaveGRV") {
  // Unloading drops the controls, so a reloaded dialog starts from its
  // design values, as the choice it shows must agree with SaveInvoice.
  DiscardControlsOnUnload(true);
}

void frmSaveGRV::Build() {
  Caption("  Save GRV");
  Size(6240, 3840);
  AddControls(kLayout);
  opt_save_grv_.Collect(ArrayElements("optSaveGRV"));
  txt_grv_.Collect(ArrayElements("txtGRV"));
  dbc_grv_.Collect(ArrayElements("dbcGRV"));
  lbl_grv_.Collect(ArrayElements("lblGRV"));
  frame_main_.Collect(ArrayElements("frameMain"));
  cmd_do_.Collect(ArrayElements("cmdDo"));
  dtp_grv_ = &Ctl<ui::DatePicker>("dtpGRV");
  lbl_heading_ = &Ctl<ui::Label>("lblAOSaveGRV");
  // Chosen at design time, before any handler listens.
  opt_save_grv_[1].Value(true);
  for (int i = 0; i < 2; ++i) {
    opt_save_grv_[i].On(ui::Event::kClick, [this, i](ui::EventArgs&) { OptionChosen(i); });
    dbc_grv_[i].On(ui::Event::kChange, [this](ui::EventArgs&) { PeriodChanged(); });
  }
  cmd_do_[1].On(ui::Event::kClick, [this](ui::EventArgs&) { SaveClicked(); });
  cmd_do_[0].On(ui::Event::kClick, [this](ui::EventArgs&) { vb::StopSilently([&] { Unload(); }); });
}

ui::DatePicker& frmSaveGRV::dtpGRV() {
  EnsureBuilt();
  return *dtp_grv_;
}

ui::Label& frmSaveGRV::lblAOSaveGRV() {
  EnsureBuilt();
  return *lbl_heading_;
}

void frmSaveGRV::OnLoad() {
  FillingScope filling;
  save_invoice_ = true;
  is_loaded_ = true;
  dtpGRV().Value(vb::Date::Today());
}

void frmSaveGRV::OnUnload(bool&) { is_loaded_ = false; }

void frmSaveGRV::SetTransactionType(int tran_type) {
  for (const TypeCaptions& captions : kTypeCaptions) {
    if (captions.type != tran_type) continue;
    optSaveGRV(0).Caption(captions.save_only);
    optSaveGRV(1).Caption(captions.save_with_document);
    lblGRV(0).Caption(captions.number);
    if (captions.heading != nullptr) lblAOSaveGRV().Caption(captions.heading);
  }
}

void frmSaveGRV::ProposePeriod() {
  const vb::Date today = vb::Date::Today();
  if (component::ThreadStore().posting_rules.auto_advance) {
    dbcGRV(0).BoundText(vb::CStr(today.Month()));
    dbcGRV(1).Text(vb::CStr(today.Year()));
  } else {
    dbcGRV(0).BoundText(vb::CStr(current_.month));
    dbcGRV(1).Text(vb::CStr(current_.year));
  }
}

std::string frmSaveGRV::SupplierInvNo() { return txtGRV().Text(); }

vb::Date frmSaveGRV::SupplierInvDate() { return dtpGRV().Value().value_or(vb::Date::Today()); }

uint8_t frmSaveGRV::AccPeriodMonth() {
  const std::string month = SelectedBound(dbcGRV(0));
  return month.empty() ? 0 : vb::CByte(month);
}

int16_t frmSaveGRV::AccPeriodYear() {
  const std::string year_key = SelectedBound(dbcGRV(1));
  return year_key.empty() ? 0 : vb::CInt(year_key);
}

void frmSaveGRV::OptionChosen(int index) {
  vb::StopSilently([&] {
    const bool with_document = index == 1;
    save_invoice_ = with_document;
    frameMain().Enabled(with_document);
    txtGRV().Enabled(with_document);
    dtpGRV().Enabled(with_document);
    dbcGRV(0).Enabled(with_document);
    dbcGRV(1).Enabled(with_document);
    for (int i = 0; i < 3; ++i) lblGRV(i).Enabled(with_document);
  });
}

void frmSaveGRV::PeriodChanged() {
  const component::Store& store = component::ThreadStore();
  if (store.save_form_filling) return;
  const component::PostingRules rules = store.posting_rules;
  const int32_t company_id = store.settings.company_id;
  // Each step that fails is passed over; the keys it could not build stay
  // empty and the steps after it compare with what there is.
  vb::PassOver([&] { ReadCurrentPeriod(company_id, current_); });
  std::string current_key;
  std::string chosen_key;
  vb::PassOver([&] { current_key = PeriodKeyOf(current_.month, current_.year_key); });
  vb::PassOver(
      [&] { chosen_key = PeriodKeyOf(SelectedBound(dbcGRV(0)), SelectedBound(dbcGRV(1))); });
  switch (RulePeriod(chosen_key, current_key, rules)) {
    case PeriodRuling::kCurrent: return;
    case PeriodRuling::kAllowed: break;
    case PeriodRuling::kPriorRefused: RefusePeriod(kPriorPeriodRefused); break;
    case PeriodRuling::kFutureRefused: RefusePeriod(kFuturePeriodRefused); break;
    case PeriodRuling::kFutureRestored: RefusePeriod(nullptr); break;
  }
  if (rules.closed_periods) return;
  // Measured against the period chosen, even when it was just restored.
  vb::Variant month;
  vb::Variant year_key;
  std::string last_key;
  vb::PassOver([&] { ReadLastSupplierProcedure(company_id, month, year_key); });
  vb::PassOver([&] { last_key = PeriodKeyOf(month, year_key); });
  if (ClosedBySupplierProcedure(chosen_key, last_key)) RefusePeriod(kClosedPeriodRefused);
}

void frmSaveGRV::RefusePeriod(const char* message) {
  if (message != nullptr) vb::PassOver([&] { Inform(message); });
  // Restoring fills the lists as binding does: their changes are not the
  // user's, and checking them would refuse and restore again.
  FillingScope filling;
  const vb::Date today = vb::Date::Today();
  vb::Variant today_year_key;
  vb::PassOver([&] { ReadYearKey(today.Year(), today_year_key); });
  const bool advance = component::ThreadStore().posting_rules.auto_advance;
  vb::PassOver(
      [&] { dbcGRV(0).BoundText(advance ? vb::CStr(today.Month()) : vb::CStr(current_.month)); });
  vb::PassOver([&] {
    dbcGRV(1).BoundText(advance ? vb::CStr(today_year_key) : vb::CStr(current_.year_key));
  });
}

void frmSaveGRV::SaveClicked() {
  vb::StopSilently([&] {
    if (optSaveGRV(1).Value() && txtGRV().Text().empty()) {
      Inform(kNoSupplierDocumentNumber);
      return;
    }
    const int answer =
        ui::MsgBox(kConfirmPosting, ui::vbQuestion | ui::vbYesNo, kStockReceiptsTitle);
    if (answer == ui::vbYes) Hide();
  });
}

std::shared_ptr<component::Dialog> MakeSaveVoucherDialog() {
  return std::make_shared<frmSaveGRV>();
}

frmSaveGRV& SharedSaveVoucherDialog() {
  auto& slot = component::ThreadStore().Slot(component::DialogKind::kSaveVoucher);
  auto* dialog = dynamic_cast<frmSaveGRV*>(slot.instance.get());
  if (dialog == nullptr) throw vb::Error::ObjectNotSet("frmSaveGRV");
  return *dialog;
}

void BindSaveVoucherDialog(const vb::Variant& months, const vb::Variant& years,
                           const std::string& document_number, const vb::Date& document_date,
                           int32_t company_id) {
  FillingScope filling;
  component::Store& store = component::ThreadStore();
  store.settings.company_id = company_id;
  services::ControlSettings& settings = store.NewControlSettings();
  settings.Connect(store.settings.connection_string);
  frmSaveGRV& dialog = SharedSaveVoucherDialog();
  ReadCurrentPeriod(company_id, dialog.Current());
  BindList(dialog.dbcGRV(0), months, "Months");
  BindList(dialog.dbcGRV(1), years, "Years");
  for (const RuleSetting& setting : kRuleSettings) {
    const std::string value =
        settings.ReadCompanyControlValue("CheckBox", setting.name, setting.index, company_id);
    store.posting_rules.*setting.rule = vb::Trim(value) == "1";
  }
  dialog.optSaveGRV(0).Enabled(store.posting_rules.without_document);
  dialog.ProposePeriod();
  dialog.txtGRV().Text(document_number);
  dialog.dtpGRV().Value(document_date);
}

}  // namespace kvt::vouchers
