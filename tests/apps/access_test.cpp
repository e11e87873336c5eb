// Users, roles and the audit trail as the host sees them: the checks it
// makes before an action, what a refusal leaves behind, and the managing of
// users by an administrator, on an SQLite file and on a server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/roles.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::access {
namespace {

using test_support::ErrorOf;

AuditFilter Filter(const std::string& user, const std::string& document = "") {
  AuditFilter filter;
  filter.user = user;
  filter.document = document;
  return filter;
}

TEST(RolesTest, EachActionNamesWhoMayDoItAndWhyNot) {
  struct Case {
    Action action;
    std::vector<Role> held;
    std::string refusal;
  };
  const Case cases[] = {
      {Action::kEditOrder, {Role::kBuyer}, ""},
      {Action::kEditOrder, {Role::kClerk}, "Only a buyer may edit orders; dana holds clerk."},
      {Action::kPostVoucher, {Role::kAccountant}, ""},
      {Action::kPostVoucher,
       {Role::kBuyer, Role::kReader},
       "Only a clerk or an accountant may post vouchers; dana holds buyer,reader."},
      {Action::kChangePostingRules,
       {Role::kAdmin},
       "Only an accountant may change the posting rules; dana holds admin."},
      {Action::kManageUsers,
       {},
       "Only an administrator may manage users and roles; dana holds no role."},
      {Action::kPostToOtherPeriod, {Role::kClerk, Role::kAccountant}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Refusal(c.action, "dana", c.held), c.refusal) << ActionText(c.action);
  }
}

TEST(RolesTest, RoleListsAreReadWithoutRegardToCaseOrRepeats) {
  EXPECT_EQ(RoleListText(ParseRoles("Buyer, clerk,buyer")), "buyer,clerk");
  EXPECT_EQ(ErrorOf([] { ParseRoles("buyer,boss"); }).description(),
            "There is no role \"boss\" (buyer, clerk, accountant, admin, reader).");
  EXPECT_NE(ErrorOf([] { ParseRoles(""); }).number(), 0);
}

class AccessTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  AccessTest() : logins_(db_) {}

  bool OnServer() const { return GetParam() == data::Backend::kPostgreSQL; }

  // The connection of `stem` (a login of its own on a server; on SQLite the
  // database's connection, the user named as the host would name them).
  data::ConnectionRef Open(const std::string& stem) {
    return OnServer() ? logins_.Open(stem) : db_.Open();
  }
  UserAccess AccessOf(data::Connection& connection, const std::string& stem) {
    return UserAccess::Of(connection, OnServer() ? "" : Name(stem));
  }
  std::string Name(const std::string& stem) const {
    return OnServer() ? logins_.Login(stem) : stem;
  }
  // Records the users the tests act as: on a server logins made by its
  // owner, on SQLite the roles recorded by the first administrator.
  void AddUsers() {
    if (OnServer()) {
      for (const char* role : {"admin", "clerk", "buyer"}) logins_.Add(role, role);
      return;
    }
    auto connection = db_.Open();
    UserAdmin admin(*connection, UserAccess::Of(*connection, "admin"));
    admin.Add("admin", {Role::kAdmin}, "", 1);
    admin.Add("clerk", {Role::kClerk}, "", 1);
    admin.Add("buyer", {Role::kBuyer}, "", 1);
  }
  int32_t AuditRows(data::Connection& connection, const std::string& action) {
    return vb::CLng(
        connection
            .Query("SELECT COUNT(*) FROM AuditTrail WHERE Action = ?1", {vb::Variant(action)})
            ->Item(0)
            .Value());
  }

  test_support::TempDemoDatabase db_{"kvt_access", GetParam()};
  test_support::ServerLogins logins_;
};

TEST_P(AccessTest, ARefusedActionIsAuditedAndSaysWhoMayDoIt) {
  AddUsers();
  auto connection = Open("clerk");
  const UserAccess clerk = AccessOf(*connection, "clerk");
  EXPECT_FALSE(clerk.Unrestricted());
  EXPECT_TRUE(clerk.May(Action::kPostVoucher));
  const vb::Error refused =
      ErrorOf([&] { clerk.Require(*connection, Action::kEditOrder, "order PO000101", 1); });
  EXPECT_EQ(refused.number(), kPermissionDenied);
  EXPECT_EQ(refused.description(),
            "Only a buyer may edit orders; " + Name("clerk") + " holds clerk.");
  const std::vector<AuditRow> rows =
      ReadAudit(*db_.Open(), Filter(Name("clerk"), "order PO000101"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].action, "refused");
  EXPECT_EQ(rows[0].details, refused.description());
  EXPECT_EQ(rows[0].company_id, 1);
}

TEST_P(AccessTest, OnlyAnAdministratorManagesUsersAndEveryChangeIsAudited) {
  AddUsers();
  auto clerk_connection = Open("clerk");
  EXPECT_EQ(
      ErrorOf([&] { UserAdmin(*clerk_connection, AccessOf(*clerk_connection, "clerk")); }).number(),
      kPermissionDenied);

  auto connection = Open("admin");
  UserAdmin admin(*connection, AccessOf(*connection, "admin"));
  admin.Grant(Name("clerk"), {Role::kReader, Role::kClerk});
  admin.Revoke(Name("buyer"), {Role::kBuyer});
  std::vector<std::string> listed;
  for (const UserRow& row : admin.List()) {
    if (row.user == Name("clerk") || row.user == Name("buyer")) {
      listed.push_back(row.user + ":" + row.roles);
    }
  }
  EXPECT_EQ(listed,
            (std::vector<std::string>{Name("buyer") + ":", Name("clerk") + ":clerk,reader"}));
  EXPECT_EQ(AuditRows(*connection, "roles granted"), 1);
  EXPECT_EQ(AuditRows(*connection, "roles revoked"), 1);
  EXPECT_NE(ErrorOf([&] { admin.Remove(Name("admin")); }).number(), 0);
  EXPECT_NE(ErrorOf([&] { admin.Grant("nobody_at_all", {Role::kBuyer}); }).number(), 0);
}

TEST_P(AccessTest, NobodyChangesTheAuditTrail) {
  auto connection = db_.Open();
  Audit(*connection, "dana", {1, "order saved", "order PO000101", "lines 2 -> 3"});
  EXPECT_NE(ErrorOf([&] { connection->Execute("UPDATE AuditTrail SET Details = 'x'"); }).number(),
            0);
  EXPECT_NE(ErrorOf([&] { connection->Execute("DELETE FROM AuditTrail"); }).number(), 0);
  EXPECT_EQ(ReadAudit(*connection, Filter("", "order PO000101")).at(0).details, "lines 2 -> 3");
}

TEST(AccessSQLiteTest, TheFirstUserRecordedMustBeAnAdministrator) {
  test_support::TempDemoDatabase db("kvt_access_first");
  auto connection = db.Open();
  UserAdmin admin(*connection, UserAccess::Of(*connection, "anyone"));
  EXPECT_NE(ErrorOf([&] { admin.Add("clerk", {Role::kClerk}, "", 1); }).number(), 0);
  admin.Add("boss", {Role::kAdmin}, "", 1);
  // From now on the file is shared: a user it does not know holds nothing.
  const UserAccess stranger = UserAccess::Of(*connection, "anyone");
  EXPECT_FALSE(stranger.Unrestricted());
  EXPECT_TRUE(stranger.Roles().empty());
}

TEST(AccessServerTest, ARefusalOfTheDatabaseIsAuditedInPlainWords) {
  if (test_support::TestBackends().size() < 2) GTEST_SKIP() << "built without PostgreSQL";
  test_support::TempDemoDatabase db("kvt_access_refusal", data::Backend::kPostgreSQL);
  test_support::ServerLogins logins(db);
  // An administrator may write company settings, but not the posting
  // rules among them: the database's rule, not a grant, refuses it.
  logins.Add("admin", "admin");
  auto connection = logins.Open("admin");
  const vb::Error refused = ErrorOf([&] {
    RunAudited(*connection, "ignored", {1, "posting rules changed", "company 1", ""}, [&] {
      connection->RunInTransaction([&] {
        connection->Execute(
            "UPDATE CompanyControlValues SET ControlValue = '1' WHERE ControlName = "
            "'chkAccountant'");
      });
    });
  });
  EXPECT_EQ(refused.number(), kPermissionDenied);
  EXPECT_EQ(refused.description(), "Only an accountant may change the posting rules.");
  const std::vector<AuditRow> rows = ReadAudit(*db.Open(), Filter(logins.Login("admin")));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].action, "refused");
  EXPECT_EQ(rows[0].details,
            "posting rules changed: Only an accountant may change the posting rules.");
  // A missing grant is put in plain words too.
  const vb::Error ungranted = ErrorOf([&] {
    RunAudited(*connection, "ignored", {1, "order edited", "order PO000101", ""},
               [&] { connection->Execute("UPDATE PurchaseOrders SET OurRef = 'x'"); });
  });
  EXPECT_EQ(ungranted.description(),
            "The database refused it: your login may not write to purchaseorders.");
}

KVT_INSTANTIATE_BACKENDS(AccessTest);

}  // namespace
}  // namespace kvt::access
