#include "services/data_gateway.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <utility>

#include "db/portable_script.h"
#include "platform/value/error.h"
#include "services/command_text.h"
#include "services/connection_text.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::services {
namespace {

using kvt::test_support::ErrorNumberOf;

constexpr char kItems[] = R"sql(
  CREATE TABLE Items (ID INTEGER PRIMARY KEY, Kind INTEGER, Name TEXT,
                      Amount CURRENCY);
  INSERT INTO Items VALUES (1, 1, 'Bolt', 12.5), (2, 1, 'Nut', 3),
                           (3, 2, 'Paint', 389);
)sql";

// The same procedures on each backend: catalogue rows and functions.
constexpr char kSqliteProcedures[] = R"sql(
  CREATE TABLE kvt_procedures (name TEXT PRIMARY KEY COLLATE NOCASE,
    body TEXT NOT NULL, parameter_count INTEGER NOT NULL,
    output_names TEXT NOT NULL DEFAULT '',
    column_types TEXT NOT NULL DEFAULT '');
  INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
    ('sp_items', 2, 'SELECT ID AS "ID", Name AS "Item Name", Amount
       FROM Items WHERE Kind = ?1 AND ID > ?2 ORDER BY ID'),
    ('sp_echo', 1, 'SELECT ?1 AS "Echo"');
  INSERT INTO kvt_procedures (name, parameter_count, output_names, body)
  VALUES ('sp_pair', 1, 'Twice, Label', 'SELECT ?1 * 2, ''pair'''),
         ('sp_nothing', 1, 'Found', 'SELECT ID FROM Items WHERE ID = ?1');
  INSERT INTO kvt_procedures (name, parameter_count, column_types, body)
  VALUES ('sp_total', 0, 'Total:currency',
          'SELECT TOTAL(Amount) AS "Total" FROM Items');
)sql";

constexpr char kPostgresProcedures[] = R"sql(
  CREATE FUNCTION sp_items(p_kind integer, p_after integer)
  RETURNS TABLE ("ID" integer, "Item Name" text, "Amount" currency)
  LANGUAGE sql AS $$
    SELECT ID, Name, Amount FROM Items WHERE Kind = p_kind AND ID > p_after
     ORDER BY ID $$;
  CREATE FUNCTION sp_echo(p integer) RETURNS TABLE ("Echo" integer)
  LANGUAGE sql AS 'SELECT p';
  CREATE FUNCTION sp_pair(p integer, OUT "Twice" integer, OUT "Label" text)
  LANGUAGE sql AS $$ SELECT p * 2, 'pair' $$;
  CREATE FUNCTION sp_nothing(p integer, OUT "Found" integer)
  LANGUAGE sql AS 'SELECT ID FROM Items WHERE ID = p';
  CREATE FUNCTION sp_total() RETURNS TABLE ("Total" numeric)
  LANGUAGE sql AS 'SELECT COALESCE(SUM(Amount), 0) FROM Items';
)sql";

class DataGatewayTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  void SetUp() override {
    auto db = db_.Open();
    db::RunPortableScript(*db, kItems);
    db->ExecuteScript(GetParam() == data::Backend::kSQLite ? kSqliteProcedures
                                                           : kPostgresProcedures);
  }

  data::ConnectionRef Open() { return gateway_.OpenConnection(db_.ConnectionText(), -1, 3); }
  data::RecordSetRef Run(const std::string& command) {
    auto connection = Open();
    int32_t status = 0;
    return gateway_.OpenRecordset(command, 1, 3, 3, connection, status);
  }
  int32_t ItemCount() {
    return *db_.Open()->Query("SELECT COUNT(*) FROM Items")->Item(0).Value().get_if<int32_t>();
  }

  test_support::TempDemoDatabase db_{"kvt_gateway", GetParam(),
                                     test_support::TempDemoDatabase::Content::kEmpty};
  DataGateway gateway_;
};

TEST_P(DataGatewayTest, RunsACallWithItsNumbersBound) {
  auto rows = Run("Exec sp_items 1,1");
  ASSERT_EQ(rows->RecordCount(), 1);
  EXPECT_EQ(rows->Item(1).Name(), "Item Name");
  EXPECT_EQ(rows->Item("Item Name").Value(), vb::Variant("Nut"));
  EXPECT_EQ(Run("SP_ITEMS 2,0")->Item("Amount").Value(), vb::Variant(vb::Currency::FromInt(389)));
  EXPECT_EQ(Run("Exec sp_echo -5")->Item("Echo").Value(), vb::Variant(-5));
  EXPECT_EQ(Run("Exec sp_total")->Item("Total").Value(),
            vb::Variant(vb::Currency::FromRaw(4045000)));
  // An empty result is an empty set, not an error.
  rows = Run("Exec sp_items 9,0");
  EXPECT_TRUE(rows->IsEOF());
  EXPECT_EQ(rows->RecordCount(), 0);
  EXPECT_EQ(rows->Fields().Count(), 3);
}

TEST_P(DataGatewayTest, ForwardOnlyCursorCannotCount) {
  auto connection = Open();
  int32_t status = 7;
  auto rows = gateway_.OpenRecordset("sp_items 1,0", 0, 1, 1, connection, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(rows->RecordCount(), -1);
  EXPECT_EQ(rows->Item("ID").Value(), vb::Variant(1));
}

// What is no call at all is the command text's table; here one such text,
// and calls the catalogue does not hold as written.
TEST_P(DataGatewayTest, RefusedCommandsRunNothing) {
  // clang-format off
  const char* refused[] = {"Exec sp_items 1,0;DROP TABLE Items", "Exec sp_unknown 1",
      "Exec kvt_procedures 1", "Exec sp_items 1", "Exec sp_items 1,2,3", "Exec pg_sleep 1"};
  // clang-format on
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    auto connection = Open();
    int32_t status = 0;
    EXPECT_EQ(ErrorNumberOf([&] { gateway_.OpenRecordset(text, 1, 3, 3, connection, status); }),
              kCommandRefused);
    EXPECT_EQ(status, kCommandRefused);
    EXPECT_EQ(ItemCount(), 3);
  }
  EXPECT_EQ(kvt::test_support::ErrorOf([&] { Run("Exec sp_AO_Not_There 1"); }).description(),
            "Could not find stored procedure 'sp_AO_Not_There'.");
}

TEST_P(DataGatewayTest, RunProcedureFillsOutputsInOrder) {
  auto connection = Open();
  vb::Variant input(21), twice, label;
  std::vector<ProcedureParameter> parameters = {ProcedureParameter::In(input),
                                                ProcedureParameter::Out(twice),
                                                ProcedureParameter::Out(label)};
  int32_t status = -1;
  gateway_.RunProcedure("sp_pair", connection, 1, parameters, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(twice, vb::Variant(42));
  EXPECT_EQ(label, vb::Variant("pair"));

  vb::Variant key(99), found("old");
  std::vector<ProcedureParameter> none = {ProcedureParameter::In(key),
                                          ProcedureParameter::Out(found)};
  gateway_.RunProcedure("sp_nothing", connection, 1, none, status);
  EXPECT_TRUE(found.IsNull());
}

TEST_P(DataGatewayTest, RunProcedureRefusesWrongParameterListsBeforeRunning) {
  auto connection = Open();
  vb::Variant input(1), out1, out2, out3("untouched");
  const std::vector<std::vector<ProcedureParameter>> lists = {
      {ProcedureParameter::In(input), ProcedureParameter::Out(out1)},
      {ProcedureParameter::In(input), ProcedureParameter::In(input), ProcedureParameter::Out(out1),
       ProcedureParameter::Out(out2)},
      {ProcedureParameter::Out(out1), ProcedureParameter::Out(out2), ProcedureParameter::Out(out3)},
  };
  for (size_t i = 0; i < lists.size(); ++i) {
    SCOPED_TRACE(i);
    auto parameters = lists[i];
    int32_t status = 0;
    EXPECT_EQ(
        ErrorNumberOf([&] { gateway_.RunProcedure("sp_pair", connection, 1, parameters, status); }),
        kCommandRefused);
  }
  EXPECT_EQ(out3, vb::Variant("untouched"));
  std::vector<ProcedureParameter> no_parameters;
  int32_t status = 0;
  for (const char* name : {"sp_missing", "sp_pair 1", "sp_pair;DROP TABLE Items"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(gateway_.RunProcedure(name, connection, 1, no_parameters, status), vb::Error);
  }
  EXPECT_EQ(ItemCount(), 3);
}

TEST_P(DataGatewayTest, NoOrClosedConnectionIsRefusedAndSetsAreIndependent) {
  data::ConnectionRef none;
  int32_t status = 0;
  EXPECT_EQ(ErrorNumberOf([&] { gateway_.OpenRecordset("sp_echo 1", 1, 3, 3, none, status); }),
            vb::err::kObjectNotSet);
  auto closed = Open();
  closed->Close();
  EXPECT_EQ(ErrorNumberOf([&] { gateway_.OpenRecordset("sp_echo 1", 1, 3, 3, closed, status); }),
            vb::err::kAdoObjectClosed);
  auto first = Run("sp_items 1,0");
  auto second = Run("sp_items 1,0");
  first.reset();
  second->MoveLast();
  EXPECT_EQ(second->Item("Item Name").Value(), vb::Variant("Nut"));
}

// A reuse scope gives a connection again only to someone who may start
// afresh on it: never one still held, nor one its last holder closed or
// left inside a transaction (those are dropped for a new one).
TEST_P(DataGatewayTest, AReuseScopeGivesAgainOnlyAnIdleConnectionNobodyHolds) {
  ScopedConnectionReuse reuse;
  std::weak_ptr<data::Connection> first;
  {
    auto held = Open();
    first = held;
    EXPECT_NE(Open(), held);
  }
  const auto again = Open();
  EXPECT_EQ(again, first.lock());
  const std::pair<const char*, std::function<void(data::Connection&)>> leavings[] = {
      {"inside a transaction", [](data::Connection& c) { c.ExecuteScript("BEGIN"); }},
      {"closed", [](data::Connection& c) { c.Close(); }},
  };
  EXPECT_NE(Open(), again);
  for (const auto& [how, leave] : leavings) {
    SCOPED_TRACE(how);
    std::weak_ptr<data::Connection> left;
    {
      auto connection = Open();
      left = connection;
      leave(*connection);
    }
    auto next = Open();
    EXPECT_TRUE(left.expired());
    EXPECT_TRUE(next->IsIdle());
    EXPECT_EQ(vb::CLng(next->Query("SELECT COUNT(*) FROM Items")->Item(0).Value()), 3);
  }
}

// A pool carries a scope's idle connections to the next scope, but not
// one left inside a transaction, nor more than its limit (the oldest goes),
// and none of a login it was told to forget.
TEST_P(DataGatewayTest, APoolKeepsIdleConnectionsFromOneScopeToTheNext) {
  ConnectionPool pool(2, std::chrono::seconds(60));
  std::weak_ptr<data::Connection> kept, in_transaction;
  {
    ScopedConnectionReuse reuse(&pool);
    auto idle = Open();
    auto busy = Open();
    busy->ExecuteScript("BEGIN");
    kept = idle;
    in_transaction = busy;
  }
  EXPECT_TRUE(in_transaction.expired());
  EXPECT_EQ(pool.IdleCount(), 1u);
  {
    ScopedConnectionReuse reuse(&pool);
    auto again = Open();
    EXPECT_EQ(again, kept.lock());
    auto newer = Open(), newest = Open();
  }
  EXPECT_EQ(pool.IdleCount(), 2u);
  EXPECT_TRUE(kept.expired());
  pool.Forget(db_.ConnectionText());
  EXPECT_EQ(pool.IdleCount(), 0u);
}

KVT_INSTANTIATE_BACKENDS(DataGatewayTest);

}  // namespace
}  // namespace kvt::services
