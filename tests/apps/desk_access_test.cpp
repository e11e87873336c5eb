// The desk shows what the user's roles do not let them change disabled,
// and says why.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/desk/desk_output.h"
#include "apps/kvt-host/desk/main_window.h"
#include "apps/kvt-host/desk/order_editor.h"
#include "apps/kvt-host/desk/orders_page.h"
#include "apps/kvt-host/desk/settings_page.h"
#include "apps/kvt-host/desk/voucher_page.h"
#include "db/demo_database.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

class DeskAccessTest : public ::testing::Test {
 protected:
  // The desk as the system's user, recorded as holding `role`, sees it.
  std::unique_ptr<MainWindow> WindowAs(access::Role role) {
    auto connection = db_.Open();
    access::UserAdmin admin(*connection, access::UserAccess::Of(*connection, "boss"));
    admin.Add("boss", {access::Role::kAdmin}, "", 1);
    admin.Add(access::OperatingSystemUser(), {role}, "", 1);
    desk_ = OpenDesk(db_.ConnectionText(), "", db::kDemoCompanyID, db::kDemoDatabaseName);
    return std::make_unique<MainWindow>(desk_, output_);
  }

  test_support::TempDemoDatabase db_{"kvt_desk_access"};
  DeskContext desk_;
  DeskOutput output_;
};

TEST_F(DeskAccessTest, ASettingTheUserMayNotChangeIsDisabledWithTheReason) {
  const auto window = WindowAs(access::Role::kAccountant);
  SettingsPage& page = window->Settings();
  const QList<QCheckBox*> rules = page.findChildren<QCheckBox*>();
  ASSERT_EQ(rules.size(), 5);
  for (QCheckBox* rule : rules) EXPECT_TRUE(rule->isEnabled());
  auto* decimals = page.findChild<QSpinBox*>("qtyDecimals");
  EXPECT_FALSE(decimals->isEnabled());
  EXPECT_TRUE(decimals->toolTip().startsWith("Only an administrator may change the company's"));
}

TEST_F(DeskAccessTest, OrderCommandsAClerkMayNotUseAreDisabledWithTheReason) {
  const auto window = WindowAs(access::Role::kClerk);
  auto* add = window->Orders().findChild<QPushButton*>("newOrder");
  EXPECT_FALSE(add->isEnabled());
  EXPECT_TRUE(add->toolTip().startsWith("Only a buyer may edit orders"))
      << add->toolTip().toStdString();

  ASSERT_TRUE(window->Orders().OpenOrder(2));  // PO000102, open
  OrderEditor& editor = window->Orders().Editor();
  for (const char* name : {"saveOrder", "addLine", "printOrder", "finishOrder", "cancelOrder"}) {
    SCOPED_TRACE(name);
    auto* button = editor.findChild<QPushButton*>(name);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(button->toolTip().startsWith("Only a buyer may"))
        << button->toolTip().toStdString();
  }
  EXPECT_FALSE(editor.findChild<QLineEdit*>("ourRef")->isEnabled());
  EXPECT_TRUE(editor.findChild<QPushButton*>("orderHistory")->isEnabled());
  // A clerk posts vouchers.
  VoucherPage& received = window->Vouchers(DeskScreen::kGoodsReceived);
  EXPECT_TRUE(received.findChild<QLineEdit*>("delNote")->isEnabled());
  EXPECT_TRUE(received.findChild<QPushButton*>("saveVoucher")->toolTip().isEmpty());
}

TEST_F(DeskAccessTest, ABuyerMayNotPostAVoucherAndIsToldWhy) {
  const auto window = WindowAs(access::Role::kBuyer);
  EXPECT_TRUE(window->Orders().findChild<QPushButton*>("newOrder")->isEnabled());
  VoucherPage& received = window->Vouchers(DeskScreen::kGoodsReceived);
  received.ChooseSupplier(1);
  EXPECT_FALSE(received.findChild<QLineEdit*>("delNote")->isEnabled());
  auto* save = received.findChild<QPushButton*>("saveVoucher");
  EXPECT_FALSE(save->isEnabled());
  EXPECT_TRUE(save->toolTip().contains("post vouchers")) << save->toolTip().toStdString();
  EXPECT_TRUE(received.findChild<QPushButton*>("voucherHistory")->isEnabled());
}

}  // namespace
}  // namespace kvt::host
