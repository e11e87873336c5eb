// The host's own checks before it acts, where the database cannot check
// (an SQLite file) and before the database does (a server): the posting
// rules, and posting to another period.
#include <gtest/gtest.h>

#include <string>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/host_settings.h"
#include "db/demo_database.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::host {
namespace {

using test_support::ErrorOf;

class HostAccessTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  HostAccessTest() : logins_(db_) {}
  bool OnServer() const { return GetParam() == data::Backend::kPostgreSQL; }

  // The connection text `role` works with: a login of its own on a server;
  // on SQLite the file, with the system's user recorded as holding `role`.
  std::string TextFor(const std::string& role) {
    if (OnServer()) {
      logins_.Add(role, role);
      return logins_.ConnectionTextFor(role);
    }
    auto connection = db_.Open();
    access::UserAdmin admin(*connection, access::UserAccess::Of(*connection, "boss"));
    if (admin.List().empty()) admin.Add("boss", {access::Role::kAdmin}, "", 1);
    admin.Add(access::OperatingSystemUser(), access::ParseRoles(role), "", 1);
    return db_.ConnectionText();
  }
  std::vector<access::AuditRow> Audited(const std::string& document) {
    access::AuditFilter filter;
    filter.document = document;
    return access::ReadAudit(*db_.Open(), filter);
  }

  test_support::TempDemoDatabase db_{"kvt_host_access", GetParam()};
  test_support::ServerLogins logins_;
};

TEST_P(HostAccessTest, OnlyAnAccountantChangesThePostingRulesAndTheChangeIsAudited) {
  const std::string clerk = TextFor("clerk");
  CompanySettings settings = ReadCompanySettings(clerk, 1);
  settings.rules.prior_periods = !settings.rules.prior_periods;
  const vb::Error refused = ErrorOf([&] { WriteCompanySettings(clerk, 1, settings); });
  EXPECT_EQ(refused.number(), access::kPermissionDenied);
  EXPECT_NE(refused.description().find("Only an accountant may change the posting rules"),
            std::string::npos);
  // Saving what is there already changes nothing, and needs no role.
  EXPECT_NO_THROW(WriteCompanySettings(clerk, 1, ReadCompanySettings(clerk, 1)));

  if (!OnServer()) {
    // One system user on SQLite: the clerk becomes the accountant.
    auto connection = db_.Open();
    access::UserAdmin(*connection, access::UserAccess::Of(*connection, "boss"))
        .Grant(access::OperatingSystemUser(), {access::Role::kAccountant});
  }
  const std::string accountant = OnServer() ? TextFor("accountant") : clerk;
  WriteCompanySettings(accountant, 1, settings);
  EXPECT_EQ(ReadCompanySettings(clerk, 1), settings);

  const std::vector<access::AuditRow> rows = Audited("company 1");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].action, "posting rules changed");
  EXPECT_EQ(rows[0].details, std::string("chkAccountant(0) ") +
                                 (settings.rules.prior_periods ? "0 -> 1" : "1 -> 0"));
  EXPECT_EQ(rows[0].user, OnServer() ? logins_.Login("accountant") : access::OperatingSystemUser());
  EXPECT_EQ(rows[1].action, "refused");
}

TEST_P(HostAccessTest, OnlyAnAccountantPostsToAnotherPeriod) {
  const std::string clerk = TextFor("clerk");
  auto connection = services::OpenConnection(services::ParseConnectionText(clerk));
  // November 2026 (year key 7) is the demo's current period.
  EXPECT_NO_THROW(access::RequirePosting(*connection, 1, 11, 7, "voucher GRV (new)"));
  EXPECT_EQ(ErrorOf([&] {
              access::RequirePosting(*connection, 1, 10, 7, "voucher GRV (new)");
            }).description(),
            "Only an accountant may post to a period other than the current one; " +
                access::UserAccess::Of(*connection).User() + " holds clerk.");
  EXPECT_EQ(Audited("voucher GRV (new)").size(), 1u);
}

// The database lets a reader keep their own screen settings, so trying a
// write cannot tell; the desk still opens read-only and its banner says why.
TEST_P(HostAccessTest, AReaderOpensTheDeskReadOnlyAndIsToldWhy) {
  const DeskContext desk = OpenDesk(TextFor("reader"), "", 1, db::kDemoDatabaseName);
  const std::string login = OnServer() ? logins_.Login("reader") : access::OperatingSystemUser();
  EXPECT_EQ(desk.read_only_reason,
            "the login " + login + " may only read (it holds only the reader role)");
}

KVT_INSTANTIATE_BACKENDS(HostAccessTest);

}  // namespace
}  // namespace kvt::host
