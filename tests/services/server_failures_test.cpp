// What goes wrong between the gateway and a PostgreSQL server before a
// session begins. (A session that ends half-way is the connection's test,
// and the posting's.)
#include <gtest/gtest.h>

#include <chrono>

#include "platform/value/error.h"
#include "services/connection_text.h"
#include "services/data_gateway.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::services {
namespace {

// Only the server has these failures; the name still ends in the backend.
class ServerFailuresTest : public ::testing::TestWithParam<data::Backend> {};
INSTANTIATE_TEST_SUITE_P(Server, ServerFailuresTest, ::testing::Values(data::Backend::kPostgreSQL),
                         test_support::BackendTestName);

TEST_P(ServerFailuresTest, WrongServerDetailsFailClearlyWithoutHanging) {
  const std::string good = test_support::TestServerText("postgres");
  const std::string password = ParseConnectionText(good).password;
  const std::pair<const char*, std::string> cases[] = {
      {"no server on that port", good + ";Port=1"},
      {"a wrong password", good + ";Password=wrong"},
      {"no such database", good + ";Database=kvt_no_such_database"},
      {"no such user", good + ";User ID=kvt_nobody"},
      // A documentation address: nothing answers there.
      {"a host that does not answer", good + ";Host=192.0.2.1;Connect Timeout=2"},
  };
  DataGateway gateway;
  for (const auto& [what, text] : cases) {
    SCOPED_TRACE(what);
    const auto start = std::chrono::steady_clock::now();
    const vb::Error error = test_support::ErrorOf([&] { gateway.OpenConnection(text, -1, 3); });
    EXPECT_EQ(error.number(), vb::err::kAdoConnectionFailed);
    EXPECT_FALSE(error.description().empty());
    EXPECT_EQ(error.description().find('\n'), std::string::npos);
    EXPECT_EQ(error.description().find(password), std::string::npos);
    EXPECT_EQ(error.context().find(password), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  }
}

}  // namespace
}  // namespace kvt::services
