// Logins that resist guessing on a server: refused logins counted through
// the login gate, slowed down, locked in the server itself and unlocked by
// an administrator or when the lock runs out.
#include "apps/kvt-host/access/login_gate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/access/user_admin.h"
#include "platform/value/conversions.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::access {
namespace {

using test_support::ErrorOf;

class LoginGateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (test_support::TestBackends().size() < 2) GTEST_SKIP() << "built without PostgreSQL";
    db_ = std::make_unique<test_support::TempDemoDatabase>("kvt_login_gate",
                                                           data::Backend::kPostgreSQL);
    logins_ = std::make_unique<test_support::ServerLogins>(*db_);
    logins_->Add("dana", "clerk");
  }

  data::PostgresServer Server(const std::string& stem, const std::string& password) const {
    data::PostgresServer server =
        services::ServerOf(services::ParseConnectionText(db_->ConnectionText()));
    server.user = logins_->Login(stem);
    server.password = password;
    return server;
  }
  data::PostgresServer Dana(bool right_password) const {
    return Server("dana", right_password ? test_support::ServerLogins::Password("dana") : "guess");
  }
  int Audited(const std::string& action) const {
    AuditFilter filter;
    filter.document = "user " + logins_->Login("dana");
    int found = 0;
    for (const AuditRow& row : ReadAudit(*db_->Open(), filter)) found += row.action == action;
    return found;
  }
  void Owner(const std::string& sql) const {
    db_->Open()->Execute(sql, {vb::Variant(logins_->Login("dana"))});
  }

  std::unique_ptr<test_support::TempDemoDatabase> db_;
  std::unique_ptr<test_support::ServerLogins> logins_;
};

TEST_F(LoginGateTest, GuessingIsAuditedSlowedAndEndsInALockTheServerHonours) {
  const char kWrong[] = "Wrong user name or password";
  std::chrono::duration<double> slowest[5];
  for (int attempt = 1; attempt <= 4; ++attempt) {
    const auto started = std::chrono::steady_clock::now();
    const vb::Error refused = ErrorOf([&] { LogIn(Dana(false)); });
    slowest[attempt] = std::chrono::steady_clock::now() - started;
    EXPECT_NE(refused.description().find(kWrong), std::string::npos) << refused.description();
  }
  // From the 3rd failure on, one second more each time.
  EXPECT_LT(slowest[2].count(), 1.0);
  EXPECT_GE(slowest[3].count(), 1.0);
  EXPECT_GE(slowest[4].count(), 2.0);

  const vb::Error locked = ErrorOf([&] { LogIn(Dana(false)); });
  EXPECT_EQ(locked.number(), kPermissionDenied);
  EXPECT_NE(locked.description().find("ask an administrator to unlock it (kvt-host users unlock " +
                                      logins_->Login("dana") + ")"),
            std::string::npos)
      << locked.description();
  // The right password no longer gets in (that any client is refused, and
  // the trail of the failures, are the server's own tests).
  EXPECT_EQ(ErrorOf([&] { LogIn(Dana(true)); }).number(), kPermissionDenied);

  // Only an administrator unlocks it, in the host and in the database.
  logins_->Add("admin", "admin");
  logins_->Add("bob", "reader");
  auto bob = logins_->Open("bob");
  EXPECT_THROW(bob->Query("SELECT kvt_unlock_user(?1)", {vb::Variant(logins_->Login("dana"))}),
               data::PermissionDenied);
  // Nor may anyone but the gate count failures against someone.
  EXPECT_ANY_THROW(
      bob->Query("SELECT kvt_login_failed(?1)", {vb::Variant(logins_->Login("admin"))}));
  auto admin_connection = logins_->Open("admin");
  UserAdmin admin(*admin_connection, UserAccess::Of(*admin_connection));
  EXPECT_TRUE(admin.Unlock(logins_->Login("dana")));
  EXPECT_FALSE(admin.Unlock(logins_->Login("dana")));
  EXPECT_NO_THROW(LogIn(Dana(true)));
  EXPECT_EQ(Audited("login unlocked"), 2);
}

TEST_F(LoginGateTest, ALockRunsOutAndALoginThatGetsInStartsCountingAfresh) {
  db_->Open()->ExecuteScript("ALTER ROLE \"" + logins_->Login("dana") +
                             "\" VALID UNTIL '2031-01-01 00:00:00+00'");
  for (int attempt = 0; attempt < 2; ++attempt) EXPECT_ANY_THROW(LogIn(Dana(false)));
  EXPECT_NO_THROW(LogIn(Dana(true)));
  for (int attempt = 0; attempt < 3; ++attempt) EXPECT_ANY_THROW(LogIn(Dana(false)));
  EXPECT_NO_THROW(RequireLoginOpen(Dana(true)));  // 3 in a row, not 5

  Owner("UPDATE LoginLocks SET Failures = 4 WHERE UserName = ?1");
  EXPECT_EQ(ErrorOf([&] { LogIn(Dana(false)); }).number(), kPermissionDenied);
  Owner(
      "UPDATE LoginLocks SET LockedUntil = localtimestamp - interval '1 minute' "
      "WHERE UserName = ?1");
  EXPECT_NO_THROW(RequireLoginOpen(Dana(true)));
  EXPECT_NO_THROW(LogIn(Dana(true)));
  // The login's own expiry is back as it was.
  EXPECT_EQ(vb::CStr(db_->Open()
                         ->Query("SELECT to_char(rolvaliduntil AT TIME ZONE 'UTC', 'YYYY-MM-DD') "
                                 "FROM pg_roles WHERE rolname = ?1",
                                 {vb::Variant(logins_->Login("dana"))})
                         ->Item(0)
                         .Value()),
            "2031-01-01");
}

TEST_F(LoginGateTest, AnUnknownNameIsRefusedInTheSameWordsAndAudited) {
  data::PostgresServer stranger = Dana(false);
  stranger.user = "nobody_" + logins_->Login("dana");
  const vb::Error refused = ErrorOf([&] { LogIn(stranger); });
  EXPECT_NE(refused.description().find("Wrong user name or password"), std::string::npos);
  AuditFilter filter;
  filter.document = "user " + stranger.user;
  const std::vector<AuditRow> rows = ReadAudit(*db_->Open(), filter);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].details, "no such user");
  EXPECT_EQ(rows[0].user, "kvt_gate");
}

}  // namespace
}  // namespace kvt::access
