// The purchasing desk's main window: a navigation list of the screens
// (purchase orders, the four voucher kinds, the audit trail, settings), the
// database in use in the title, and the user and company in the status bar.
#pragma once

#include <QMainWindow>
#include <vector>

#include "apps/kvt-host/sessions/desk_context.h"

class QListWidget;
class QStackedWidget;

namespace kvt::host {

class AuditPage;
class DeskOutput;
class OrdersPage;
class SettingsPage;
class VoucherPage;

// The screens in navigation order.
enum class DeskScreen {
  kPurchaseOrders,
  kGoodsReceived,
  kGoodsReturned,
  kConsignmentReceived,
  kConsignmentReturned,
  kAudit,
  kSettings,
};

class MainWindow : public QMainWindow {
 public:
  // `desk` and `output` outlive the window.
  MainWindow(const DeskContext& desk, DeskOutput& output);

  void Navigate(DeskScreen screen);
  OrdersPage& Orders() { return *orders_; }
  SettingsPage& Settings() { return *settings_; }
  AuditPage& Audit() { return *audit_; }
  // The page of a voucher screen (kGoodsReceived .. kConsignmentReturned).
  VoucherPage& Vouchers(DeskScreen screen);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Note(const std::string& text);

  const DeskContext& desk_;
  QListWidget* navigation_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  OrdersPage* orders_ = nullptr;
  std::vector<VoucherPage*> vouchers_;
  AuditPage* audit_ = nullptr;
  SettingsPage* settings_ = nullptr;
};

}  // namespace kvt::host
