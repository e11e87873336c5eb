#include "apps/kvt-host/desk/main_window.h"

#include <QCloseEvent>
#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QStackedWidget>
#include <QStatusBar>

#include "apps/kvt-host/desk/audit_page.h"
#include "apps/kvt-host/desk/desk_widgets.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "apps/kvt-host/desk/settings_page.h"
#include "apps/kvt-host/sessions/voucher_desk_session.h"
#include "apps/kvt-host/desk/voucher_page.h"

namespace kvt::host {
namespace {

constexpr const char* kScreenNames[] = {
    "Purchase orders",      "Goods received", "Goods returned", "Consignment received",
    "Consignment returned", "Audit trail",    "Settings"};
// The voucher kinds of the screens after Purchase orders, in their order.
constexpr posting::TransactionType kVoucherKinds[] = {
    posting::kGoodsReceived, posting::kGoodsReturned, posting::kConsignmentReceived,
    posting::kConsignmentReturned};

}  // namespace

MainWindow::MainWindow(const DeskContext& desk, DeskOutput& output) : desk_(desk) {
  setWindowTitle(ToQt("Brellix Suppliers \u2014 " + desk_.database_label +
                      (desk_.ReadOnly() ? " (read-only)" : "")));
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  if (desk_.ReadOnly()) {
    auto* banner = new QLabel(
        ToQt("Read-only: " + desk_.read_only_reason + ". " + kReadOnlyStillWorks), central);
    banner->setObjectName("readOnlyBanner");
    banner->setWordWrap(true);
    banner->setStyleSheet("background: #fff4ce; color: #4a3b00; padding: 8px; font-weight: bold;");
    column->addWidget(banner);
  }
  auto* layout = new QHBoxLayout();
  column->addLayout(layout, 1);
  navigation_ = new QListWidget(central);
  navigation_->setObjectName("navigation");
  for (const char* name : kScreenNames) navigation_->addItem(name);
  navigation_->setFixedWidth(190);
  layout->addWidget(navigation_);
  pages_ = new QStackedWidget(central);
  layout->addWidget(pages_, 1);
  setCentralWidget(central);

  orders_ = new OrdersPage(desk_, output, pages_);
  orders_->on_note = [this](const std::string& text) { Note(text); };
  pages_->addWidget(orders_);
  const std::optional<access::UserAccess> user = DeskUser(desk_);
  for (posting::TransactionType kind : kVoucherKinds) {
    vouchers_.push_back(new VoucherPage(OpenVoucherScreen(desk_, kind), output, pages_));
    vouchers_.back()->on_note = [this](const std::string& text) { Note(text); };
    vouchers_.back()->on_history = [this](const std::string& document) {
      ShowHistory(this, *desk_.connection, document);
    };
    if (user) vouchers_.back()->LimitTo(*user);
    pages_->addWidget(vouchers_.back());
  }
  audit_ = new AuditPage(desk_, pages_);
  pages_->addWidget(audit_);
  settings_ = new SettingsPage(desk_, pages_);
  settings_->on_note = [this](const std::string& text) { Note(text); };
  pages_->addWidget(settings_);
  connect(navigation_, &QListWidget::currentRowChanged, pages_, &QStackedWidget::setCurrentIndex);
  navigation_->setCurrentRow(0);

  statusBar()->addPermanentWidget(new QLabel(ToQt("User: " + desk_.user_name)));
  statusBar()->addPermanentWidget(new QLabel(ToQt("Company: " + desk_.company_name)));
  if (desk_.ReadOnly()) {
    auto* read_only = new QLabel("Read-only database");
    read_only->setStyleSheet("color: #b00020; font-weight: bold;");
    statusBar()->addPermanentWidget(read_only);
  }
  resize(1280, 820);
}

void MainWindow::Navigate(DeskScreen screen) {
  navigation_->setCurrentRow(static_cast<int>(screen));
}

VoucherPage& MainWindow::Vouchers(DeskScreen screen) {
  return *vouchers_.at(static_cast<size_t>(screen) - 1);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Each screen with unsaved work is asked in turn; one "go back" keeps
  // the window open there.
  if (!orders_->ConfirmLeave()) {
    Navigate(DeskScreen::kPurchaseOrders);
    event->ignore();
    return;
  }
  for (size_t i = 0; i < vouchers_.size(); ++i) {
    if (!vouchers_[i]->ConfirmLeave()) {
      navigation_->setCurrentRow(static_cast<int>(i) + 1);
      event->ignore();
      return;
    }
  }
  if (!settings_->ConfirmLeave()) {
    Navigate(DeskScreen::kSettings);
    event->ignore();
    return;
  }
  event->accept();
}

void MainWindow::Note(const std::string& text) { statusBar()->showMessage(ToQt(text), 10000); }

}  // namespace kvt::host
