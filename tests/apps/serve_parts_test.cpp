// The server's parts that HTTP alone cannot reach quickly: tokens running
// out and revoked, guessed passwords locking a name (on a server, the
// server's lock), the listen address.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "apps/kvt-host/access/login_gate.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/api_login.h"
#include "apps/kvt-host/serve/serve_command.h"
#include "apps/kvt-host/serve/token_store.h"
#include "tests/support/server_logins.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::serve {
namespace {

TEST(TokenStoreTest, ATokenStandsForItsSessionUntilItRunsOutOrIsRevoked) {
  TokenStore store(std::chrono::seconds(1));
  const std::string dana = store.Issue({"dana", "db", false, {}});
  const std::string lee = store.Issue({"lee", "db", false, {}});
  const std::string lee_again = store.Issue({"lee", "db", false, {}});
  EXPECT_NE(dana, lee);
  ASSERT_TRUE(store.Find(dana));
  EXPECT_EQ(store.Find(dana)->user, "dana");
  EXPECT_FALSE(store.Find(Sha256Hex(dana)));  // what is kept lets nobody in

  EXPECT_TRUE(store.Revoke(dana));
  EXPECT_FALSE(store.Find(dana));
  EXPECT_FALSE(store.Revoke(dana));
  EXPECT_EQ(store.RevokeUser("lee"), 2u);
  EXPECT_FALSE(store.Find(lee_again));

  const std::string late = store.Issue({"kim", "db", false, {}});
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_FALSE(store.Find(late));
}

// The gate's refusal of a login, or status 200 when it lets the user in.
ApiError Refusal(LoginGate& gate, const std::string& user, const std::string& password) {
  try {
    gate.LogIn(user, password);
    return ApiError{200, "", ""};
  } catch (const ApiError& refused) {
    return refused;
  }
}

TEST(LoginGateTest, AGuessedPasswordLocksTheNameAfterAFewTriesAndEachIsAudited) {
  test_support::TempDemoDatabase db{"kvt_serve_gate"};
  LoginGate gate({db.ConnectionText(), false, "right-Pw-1"});
  EXPECT_EQ(gate.LogIn("dana", "right-Pw-1").user, "dana");  // no roles recorded: anyone
  for (int i = 0; i < kFailuresBeforeLock; ++i)
    EXPECT_EQ(Refusal(gate, "dana", "guess").status, 401);
  EXPECT_EQ(Refusal(gate, "dana", "right-Pw-1").status, 429);  // locked, even with the password
  EXPECT_EQ(Refusal(gate, "lee", "right-Pw-1").status, 200);   // another name is not
  EXPECT_EQ(Refusal(gate, "lee", "").status, 401);
  const auto refused = db.Open()->Query(
      "SELECT COUNT(*) FROM AuditTrail WHERE Action = 'login refused' AND Document = 'user dana'");
  EXPECT_EQ(vb::CLng(refused->Item(0).Value()), kFailuresBeforeLock);
}

// On a server the API counts failures and honours locks through the
// server's own lock, the desk's: the same lock, in the same words.
TEST(LoginGateTest, OnAServerTheApiAndTheDeskShareOneLock) {
  if (test_support::TestBackends().size() < 2) GTEST_SKIP() << "built without PostgreSQL";
  test_support::TempDemoDatabase db{"kvt_serve_lock", data::Backend::kPostgreSQL};
  test_support::ServerLogins logins(db);
  logins.Add("dana", "clerk");
  const std::string dana = logins.Login("dana");
  LoginGate gate({db.ConnectionText(), true, ""});
  for (int i = 1; i < 5; ++i) {
    EXPECT_EQ(Refusal(gate, dana, "guess").message, access::WrongLoginMessage());
  }
  EXPECT_EQ(Refusal(gate, dana, "guess").status, 429);  // the 5th locks it
  const ApiError locked = Refusal(gate, dana, test_support::ServerLogins::Password("dana"));
  EXPECT_EQ(locked.status, 429);
  EXPECT_EQ(locked.message, test_support::ErrorOf([&] {
                              access::RequireLoginOpen(db.ConnectionText(), dana);
                            }).description());
}

TEST(ListenAddressTest, HostAndPortOrAPlainRefusal) {
  EXPECT_EQ(ListenAddress("127.0.0.1:8080"), std::make_pair(std::string("127.0.0.1"), 8080));
  EXPECT_EQ(ListenAddress("::1:0"), std::make_pair(std::string("::1"), 0));
  for (const char* bad :
       {"8080", ":8080", "127.0.0.1:", "127.0.0.1:65536", "127.0.0.1:-1", "127.0.0.1:80x"}) {
    EXPECT_EQ(test_support::ErrorOf([&] { ListenAddress(bad); }).number(), vb::err::kInvalidCall)
        << bad;
  }
}

}  // namespace
}  // namespace kvt::serve
