#include "services/command_text.h"

#include <gtest/gtest.h>

#include "platform/value/error.h"
#include "platform/value/text.h"
#include "services/connection_text.h"
#include "tests/support/c_locale.h"
#include "tests/support/vb_error.h"

namespace kvt::services {
namespace {

using test_support::ErrorNumberOf;

TEST(CommandTextTest, ReadsProcedureCalls) {
  struct Case {
    const char* text;
    const char* name;
    std::vector<vb::Variant> arguments;
  };
  const Case cases[] = {
      {"Exec sp_AO_Received -5,2", "sp_AO_Received", {vb::Variant(-5), vb::Variant(2)}},
      {"  EXEC  sp_x  1 , 2  ", "sp_x", {vb::Variant(1), vb::Variant(2)}},
      {"execute sp_x 40000", "sp_x", {vb::Variant(40000)}},
      {"sp_AW_Select_Months", "sp_AW_Select_Months", {}},
      {"Exec sp_x ", "sp_x", {}},
      {"sp_x 1.5", "sp_x", {vb::Variant(1.5)}},
      {"sp_x 3000000000", "sp_x", {vb::Variant(3000000000.0)}},
      {"Exec_all 1", "Exec_all", {vb::Variant(1)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ProcedureCall call = ParseProcedureCall(c.text);
    EXPECT_EQ(call.name, c.name);
    EXPECT_EQ(call.arguments, c.arguments);
  }
}

TEST(CommandTextTest, ArgumentsReadTheSameUnderACommaDecimalLocale) {
  test_support::ScopedCLocale comma(test_support::kCommaDecimalLocale);
  EXPECT_EQ(ParseProcedureCall("sp_x 1.5,-2.25,7").arguments,
            (std::vector<vb::Variant>{vb::Variant(1.5), vb::Variant(-2.25), vb::Variant(7)}));
  // Beyond the Double range is no number either.
  EXPECT_THROW(ParseProcedureCall("sp_x " + std::string(400, '9')), vb::Error);
}

TEST(CommandTextTest, RefusesAnythingButACall) {
  // clang-format off
  const char* refused[] = {
      "", "Exec", "Exec sp_x 1;DROP TABLE Products", "sp_x 1; DELETE FROM Products",
      "SELECT * FROM Products", "sp_x 1 2", "sp_x 1,,2", "sp_x 1,", "sp_x '1'", "sp_x 1e5",
      "sp_x 0x10", "sp_x --1", "sp_x 1 -- comment", "sp_x(1)", "1sp 2", "Exec 'sp_x' 1",
      "sp.x 1", "sp_x\n1"};
  // clang-format on
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    const vb::Error error = test_support::ErrorOf([&] { ParseProcedureCall(text); });
    EXPECT_EQ(error.number(), kCommandRefused);
    EXPECT_EQ(error.description(), "The command text is not a procedure call.");
  }
}

TEST(ConnectionTextTest, ReadsProviderSourceAndUser) {
  const ConnectionText parsed =
      ParseConnectionText(" provider = SQLite ; Data Source=\"/tmp/a b.sqlite\";User ID=clerk;x=y");
  EXPECT_EQ(parsed.backend, data::Backend::kSQLite);
  EXPECT_EQ(parsed.path, "/tmp/a b.sqlite");
  EXPECT_EQ(parsed.user_id, "clerk");
  EXPECT_EQ(ParseConnectionText("Data Source=:memory:").path, ":memory:");

  const ConnectionText server = ParseConnectionText(
      "Provider=PostgreSQL;Host=/tmp/pg;Port=5433;Database=kvt;User ID=dana;"
      "Password='p;w''d';Connect Timeout=3;Schema=Sales 2");
  EXPECT_EQ(server.backend, data::Backend::kPostgreSQL);
  EXPECT_EQ((std::vector<std::string>{server.host, server.port, server.database, server.user_id,
                                      server.password, server.schema}),
            (std::vector<std::string>{"/tmp/pg", "5433", "kvt", "dana", "p;w'd", "Sales 2"}));
  EXPECT_EQ(server.connect_timeout_seconds, 3);

  const std::pair<const char*, int32_t> refused[] = {
      {"Provider=SQLOLEDB;Data Source=server", vb::err::kAdoProviderNotFound},
      {"Provider=SQLite", vb::err::kAdoInvalidArgument},
      {"", vb::err::kAdoInvalidArgument},
      {"Provider=PostgreSQL;Host=db1", vb::err::kAdoInvalidArgument},
      {"Data Source=\"/tmp/a;b.sqlite", vb::err::kAdoInvalidArgument},
      {"Data Source=\"/tmp/a\"b.sqlite", vb::err::kAdoInvalidArgument},
      {"Data Source=x;Connect Timeout=soon", vb::err::kAdoInvalidArgument},
  };
  for (const auto& [text, number] : refused) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ErrorNumberOf([&] { ParseConnectionText(text); }), number);
  }
}

// A path may hold ";" when it is quoted, as every value may.
TEST(ConnectionTextTest, QuotedValueMayHoldSemicolonsAndQuotes) {
  const std::pair<const char*, const char*> cases[] = {
      {"Provider=SQLite;Data Source=\"/tmp/a;b/db.sqlite\";User ID=clerk", "/tmp/a;b/db.sqlite"},
      {"Data Source='/tmp/x;y.sqlite'", "/tmp/x;y.sqlite"},
      {"Data Source = \"/tmp/say \"\"hi\"\";.sqlite\" ", "/tmp/say \"hi\";.sqlite"},
  };
  for (const auto& [text, path] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseConnectionText(text).path, path);
  }
  for (const char* path : {"/tmp/plain.sqlite", "/tmp/a;b\"c'.sqlite", " /tmp/lead"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ParseConnectionText("Data Source=" + vb::KeyValueText(path)).path, path);
  }
}

}  // namespace
}  // namespace kvt::services
