#include "apps/kvt-host/desk/settings_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <optional>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/desk/desk_widgets.h"
#include "platform/value/error.h"
#include "services/failure_words.h"

namespace kvt::host {
namespace {

constexpr const char* kFormCaptions[] = {
    "Purchase orders:", "Goods and consignment received:", "Goods and consignment returned:"};

struct RuleText {
  bool PostingRules::*rule;
  const char* text;
};
constexpr RuleText kRules[] = {
    {&PostingRules::prior_periods, "Vouchers may be posted to periods before the current one"},
    {&PostingRules::future_periods, "Vouchers may be posted to periods after the current one"},
    {&PostingRules::auto_advance_period,
     "Propose the period of today's date rather than the current accounting period"},
    {&PostingRules::before_supplier_procedure,
     "Vouchers may be posted to periods the supplier period-end has closed"},
    {&PostingRules::save_without_document,
     "Vouchers may be saved without a supplier document (invoice or credit note)"},
};

}  // namespace

SettingsPage::SettingsPage(const DeskContext& desk, QWidget* parent)
    : QWidget(parent), desk_(desk) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Heading("Settings", this));

  auto* user = new QGroupBox(ToQt("Printing for " + desk_.user_name), this);
  auto* user_form = new QFormLayout(user);
  user_form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  for (const char* caption : kFormCaptions) {
    auto* form = new QComboBox(user);
    form->addItem("Ruled form (boxed lines)", true);
    form->addItem("Plain form", false);
    form->setMinimumWidth(320);
    user_form->addRow(caption, form);
    forms_.push_back(form);
  }
  order_printer_ = new QComboBox(user);
  order_printer_->setObjectName("orderPrinter");
  voucher_printer_ = new QComboBox(user);
  voucher_printer_->setObjectName("voucherPrinter");
  order_printer_->setMinimumWidth(320);
  voucher_printer_->setMinimumWidth(320);
  user_form->addRow("Printer for purchase orders:", order_printer_);
  user_form->addRow("Printer for vouchers:", voucher_printer_);
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    user_form->addRow(
        NoteLabel("No printer is installed on this machine: documents can be "
                  "previewed and saved as PDF files.",
                  user));
  }
  layout->addWidget(user);

  auto* company = new QGroupBox(ToQt("Posting rules and decimals for " + desk_.company_name), this);
  auto* company_layout = new QVBoxLayout(company);
  for (const RuleText& rule : kRules) {
    auto* check = new QCheckBox(rule.text, company);
    company_layout->addWidget(check);
    rules_.push_back(check);
  }
  auto* decimals = new QFormLayout;
  decimals->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  qty_decimals_ = new QSpinBox(company);
  qty_decimals_->setObjectName("qtyDecimals");
  price_decimals_ = new QSpinBox(company);
  price_decimals_->setObjectName("priceDecimals");
  for (QSpinBox* box : {qty_decimals_, price_decimals_}) box->setRange(0, kMaxDecimals);
  decimals->addRow("Quantity decimals:", qty_decimals_);
  decimals->addRow("Price decimals:", price_decimals_);
  company_layout->addLayout(decimals);
  company_layout->addWidget(
      NoteLabel("Decimals apply to orders opened, and vouchers begun, after saving.", company));
  ShowWhatTheUserMay(company_layout, company);
  layout->addWidget(company);

  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton("&Save settings", this);
  save->setObjectName("saveSettings");
  auto* undo = new QPushButton("&Undo changes", this);
  buttons->addWidget(save);
  buttons->addWidget(undo);
  buttons->addStretch();
  layout->addLayout(buttons);
  if (desk_.ReadOnly()) {
    layout->addWidget(NoteLabel(ToQt("The database is read-only: settings are shown but cannot be "
                                     "saved."),
                                this));
    for (QWidget* widget : {static_cast<QWidget*>(user), static_cast<QWidget*>(company),
                            static_cast<QWidget*>(save), static_cast<QWidget*>(undo)}) {
      widget->setEnabled(false);
    }
  }
  layout->addStretch();
  connect(save, &QPushButton::clicked, this, [this] { Save(); });
  connect(undo, &QPushButton::clicked, this, [this] { Reload(); });
  Reload();
}

// The company's values the user's roles do not let them change are shown
// but disabled, with the reason beside them; the database refuses them
// anyway.
void SettingsPage::ShowWhatTheUserMay(QVBoxLayout* layout, QWidget* company) {
  const std::optional<access::UserAccess> user = DeskUser(desk_);
  if (!user) return;  // saving will say what is wrong
  auto limit = [&](access::Action action, const std::vector<QWidget*>& widgets) {
    const std::string why = user->WhyNot(action);
    if (why.empty()) return;
    for (QWidget* widget : widgets) {
      widget->setEnabled(false);
      widget->setToolTip(ToQt(why));
    }
    layout->addWidget(NoteLabel(ToQt(why), company));
  };
  limit(access::Action::kChangePostingRules, {rules_.begin(), rules_.end()});
  limit(access::Action::kChangeSettings, {qty_decimals_, price_decimals_});
}

void SettingsPage::FillPrinters(QComboBox* list, const std::string& saved) {
  list->clear();
  list->addItem("System default printer", QString());
  for (const QString& name : QPrinterInfo::availablePrinterNames()) list->addItem(name, name);
  const QString wanted = ToQt(saved);
  int index = list->findData(wanted);
  if (index < 0) {
    list->addItem(wanted + " (not installed)", wanted);
    index = list->count() - 1;
  }
  list->setCurrentIndex(index);
}

void SettingsPage::Reload() {
  try {
    const PrintPreferences preferences =
        ReadPrintPreferences(desk_.connection_text, desk_.database_name);
    const bool ruled[] = {preferences.ruled_orders, preferences.ruled_received,
                          preferences.ruled_returned};
    for (size_t i = 0; i < forms_.size(); ++i) forms_[i]->setCurrentIndex(ruled[i] ? 0 : 1);
    FillPrinters(order_printer_, preferences.order_printer);
    FillPrinters(voucher_printer_, preferences.voucher_printer);
    const CompanySettings company = ReadCompanySettings(desk_.connection_text, desk_.company_id);
    for (size_t i = 0; i < rules_.size(); ++i) rules_[i]->setChecked(company.rules.*kRules[i].rule);
    qty_decimals_->setValue(company.qty_decimals);
    price_decimals_->setValue(company.price_decimals);
    shown_preferences_ = ShownPreferences();
    shown_company_ = ShownCompany();
  } catch (const vb::Error& error) {
    QMessageBox::warning(this, "Settings",
                         ToQt(services::PlainFailure("Reading the saved settings", error)));
  }
}

PrintPreferences SettingsPage::ShownPreferences() const {
  PrintPreferences preferences;
  preferences.ruled_orders = forms_[0]->currentData().toBool();
  preferences.ruled_received = forms_[1]->currentData().toBool();
  preferences.ruled_returned = forms_[2]->currentData().toBool();
  preferences.order_printer = order_printer_->currentData().toString().toStdString();
  preferences.voucher_printer = voucher_printer_->currentData().toString().toStdString();
  return preferences;
}

CompanySettings SettingsPage::ShownCompany() const {
  CompanySettings company;
  for (size_t i = 0; i < rules_.size(); ++i) company.rules.*kRules[i].rule = rules_[i]->isChecked();
  company.qty_decimals = qty_decimals_->value();
  company.price_decimals = price_decimals_->value();
  return company;
}

bool SettingsPage::Save() {
  try {
    WritePrintPreferences(desk_.connection_text, desk_.database_name, ShownPreferences());
    WriteCompanySettings(desk_.connection_text, desk_.company_id, ShownCompany());
  } catch (const vb::Error& error) {
    QMessageBox::warning(this, "Settings",
                         ToQt(services::PlainFailure("Saving the settings", error) +
                              "\n\nYour choices are still on screen."));
    return false;
  }
  shown_preferences_ = ShownPreferences();
  shown_company_ = ShownCompany();
  if (on_note) on_note("Settings saved.");
  return true;
}

bool SettingsPage::Dirty() const {
  return !desk_.ReadOnly() &&
         (!(ShownPreferences() == shown_preferences_) || !(ShownCompany() == shown_company_));
}

bool SettingsPage::ConfirmLeave() {
  if (!Dirty()) return true;
  switch (AskToLeave(this, "Settings", "The settings have changes that are not saved.",
                     "Save them, discard them, or go back to them?")) {
    case LeaveAnswer::kSave: return Save();
    case LeaveAnswer::kDiscard: Reload(); return true;
    case LeaveAnswer::kGoBack: return false;
  }
  return false;
}

}  // namespace kvt::host
