// The desk shows what the user's roles do not let them change disabled,
// and says why.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QSpinBox>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/desk/desk_context.h"
#include "apps/kvt-host/desk/settings_page.h"
#include "db/demo_database.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

class DeskAccessTest : public ::testing::Test {
 protected:
  // The settings page as the system's user sees it.
  std::unique_ptr<SettingsPage> Page() {
    desk_ = OpenDesk(db_.ConnectionText(), "", db::kDemoCompanyID, db::kDemoDatabaseName);
    return std::make_unique<SettingsPage>(desk_);
  }
  void RecordSystemUserAs(access::Role role) {
    auto connection = db_.Open();
    access::UserAdmin admin(*connection, access::UserAccess::Of(*connection, "boss"));
    admin.Add("boss", {access::Role::kAdmin}, "", 1);
    admin.Add(access::OperatingSystemUser(), {role}, "", 1);
  }

  test_support::TempDemoDatabase db_{"kvt_desk_access"};
  DeskContext desk_;
};

TEST_F(DeskAccessTest, ASettingTheUserMayNotChangeIsDisabledWithTheReason) {
  RecordSystemUserAs(access::Role::kAccountant);
  const auto page = Page();
  const QList<QCheckBox*> rules = page->findChildren<QCheckBox*>();
  ASSERT_EQ(rules.size(), 5);
  for (QCheckBox* rule : rules) EXPECT_TRUE(rule->isEnabled());
  auto* decimals = page->findChild<QSpinBox*>("qtyDecimals");
  EXPECT_FALSE(decimals->isEnabled());
  EXPECT_TRUE(decimals->toolTip().startsWith("Only an administrator may change the company's"));
}

TEST_F(DeskAccessTest, AnUnsharedFileLetsTheUserChangeEverything) {
  const auto page = Page();
  for (QCheckBox* rule : page->findChildren<QCheckBox*>()) EXPECT_TRUE(rule->isEnabled());
  EXPECT_TRUE(page->findChild<QSpinBox*>("priceDecimals")->isEnabled());
}

}  // namespace
}  // namespace kvt::host
