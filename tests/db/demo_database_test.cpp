#include "db/demo_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/orders_to_come.h"
#include "db/procedure_catalogue.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/control_settings.h"
#include "services/data_gateway.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::db {
namespace {

using services::ProcedureParameter;
using test_support::ErrorNumberOf;
using test_support::FileText;

class DemoDatabaseTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  data::RecordSetRef Run(const std::string& command) {
    auto connection = gateway_.OpenConnection(db_.ConnectionText(), -1, 3);
    int32_t status = 0;
    return gateway_.OpenRecordset(command, 1, 3, 3, connection, status);
  }

  static int32_t Users(data::Connection& connection) {
    return vb::CLng(connection.Query("SELECT COUNT(*) FROM Users")->Item(0).Value());
  }

  static std::vector<int32_t> Ids(data::RecordSet& rows, const char* column) {
    std::vector<int32_t> ids;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
      ids.push_back(vb::CLng(rows.Item(column).Value()));
    }
    return ids;
  }

  test_support::TempDemoDatabase db_{"kvt_demo_test", GetParam()};
  const std::string& path_ = db_.Path();
  services::DataGateway gateway_;
};

// The columns' spellings are read by the callers' tests (dialogs, posting,
// printing) against this same database; here each procedure answers.
TEST_P(DemoDatabaseTest, EveryProcedureAnswersWithItsDemoRows) {
  const std::pair<const char*, int> cases[] = {
      {"Exec sp_AO_Select_Purchase_Order_Data 1", 3},
      {"Exec sp_AO_Select_ReceivedGRV_Details 1", 2},
      {"Exec sp_AO_Select_ReceivedCRV_Details 4", 2},
      {"Exec sp_AO_Select_GRV_Report_Data 1", 2},
      {"sp_AO_Select_Product_Details 1", 1},
      {"sp_AO_Select_Order_Details 1", 3},
      {"sp_AO_Select_GRV_Details 1", 2},
      {"sp_AW_Select_Years", 17},
  };
  for (const auto& [command, count] : cases) {
    SCOPED_TRACE(command);
    EXPECT_EQ(Run(command)->RecordCount(), count);
  }
}

TEST_P(DemoDatabaseTest, ListsFollowKindSupplierAndCompany) {
  struct Case {
    const char* command;
    std::vector<int32_t> ids;
  };
  const Case cases[] = {
      {"sp_AO_Select_Order_Lups 1,1", {1, 2, 3, 4, 5, 8}},
      {"sp_AO_Select_Order_Lups 1,2", {1, 2, 3, 4, 9}},
      {"sp_AO_Select_Order_Lups 4,1", {1, 2, 3, 4}},
      {"sp_AO_Select_Order_Lups 5,1", {}},
      // Order 3 is pending and order 4 fully received.
      {"Exec sp_AO_GRV_Select_Outstanding_Orders 1,1", {1, 2, 10}},
      {"Exec sp_AO_GRV_Select_Outstanding_Orders 5,1", {}},
      {"Exec sp_AO_GRV_Select_Outstanding_Orders 5,2", {8}},
      {"Exec sp_AO_GRV_Select_Outstanding_Orders -5,2", {}},
      {"Exec sp_AO_Select_Received_GRV 1,1", {2, 1, 7, 9, 10}},
      {"Exec sp_AO_Select_Received_CRV 3,1", {4}},
      {"Exec sp_AO_Select_Received_CRV 3,2", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    auto rows = Run(c.command);
    EXPECT_EQ(Ids(*rows, "ID"), c.ids);
  }
}

// OrdersToCome, as its triggers keep it, against what the orders and
// their lines say; "order:supplier:lines" each.
std::string OrdersToCome(data::Connection& connection, bool kept) {
  const std::string sql =
      kept ? "SELECT PurchaseOrderID, SupplierID, Lines FROM OrdersToCome ORDER BY 1"
           : "SELECT po.ID, po.SupplierID, COUNT(*) FROM PurchaseOrders po "
             "JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID WHERE po.Status = 1 "
             "AND d.QtyReceived < COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) "
             "GROUP BY po.ID, po.SupplierID ORDER BY 1";
  std::string text;
  for (auto rows = connection.Query(sql); !rows->IsEOF(); rows->MoveNext()) {
    text += vb::CStr(rows->Item(0).Value()) + ":" + vb::CStr(rows->Item(1).Value()) + ":" +
            vb::CStr(rows->Item(2).Value()) + " ";
  }
  return text;
}

TEST_P(DemoDatabaseTest, TheOrdersToComeFollowEveryWriteToOrdersAndLines) {
  auto connection = db_.Open();
  ASSERT_NE(OrdersToCome(*connection, true), "");
  const std::pair<const char*, const char*> writes[] = {
      {"an order received in full",
       "UPDATE PurchaseOrderDetails SET QtyReceived = COALESCE(Qty, 0) + COALESCE(BOQty, 0) "
       "WHERE PurchaseOrderID = 1"},
      {"one line of it taken back",
       "UPDATE PurchaseOrderDetails SET QtyReceived = 0 WHERE ID = "
       "(SELECT MIN(ID) FROM PurchaseOrderDetails WHERE PurchaseOrderID = 1)"},
      {"its back order raised",
       "UPDATE PurchaseOrderDetails SET BOQty = 3 WHERE PurchaseOrderID = 1"},
      {"closed", "UPDATE PurchaseOrders SET Status = 2 WHERE ID = 1"},
      {"open again", "UPDATE PurchaseOrders SET Status = 1 WHERE ID = 1"},
      {"moved to another supplier", "UPDATE PurchaseOrders SET SupplierID = 4 WHERE ID = 1"},
      {"a pending order processed", "UPDATE PurchaseOrders SET Status = 1 WHERE ID = 3"},
      {"a line moved to another order",
       "UPDATE PurchaseOrderDetails SET PurchaseOrderID = 2 WHERE ID = "
       "(SELECT MIN(ID) FROM PurchaseOrderDetails WHERE PurchaseOrderID = 1)"},
      {"a line added",
       "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, Qty) "
       "SELECT 2, ProductID, 5 FROM PurchaseOrderDetails WHERE ID = "
       "(SELECT MIN(ID) FROM PurchaseOrderDetails)"},
      {"the line removed",
       "DELETE FROM PurchaseOrderDetails WHERE ID = "
       "(SELECT MAX(ID) FROM PurchaseOrderDetails)"},
  };
  std::string before = OrdersToCome(*connection, true);
  for (const auto& [what, sql] : writes) {
    SCOPED_TRACE(what);
    connection->Execute(sql);
    const std::string kept = OrdersToCome(*connection, true);
    EXPECT_EQ(kept, OrdersToCome(*connection, false));
    EXPECT_NE(kept, before);
    before = kept;
  }
}

// A database an earlier build made gets the table, filled, and its triggers.
TEST_P(DemoDatabaseTest, AnEarlierDatabaseGetsTheOrdersToComeFilled) {
  auto connection = db_.Open();
  connection->ExecuteScript(
      GetParam() == data::Backend::kSQLite
          ? "DROP TRIGGER OrdersToCome_LineAdded; DROP TRIGGER OrdersToCome_LineChanged; "
            "DROP TRIGGER OrdersToCome_LineRemoved; DROP TRIGGER OrdersToCome_OrderChanged; "
            "DROP TRIGGER OrdersToCome_OrderRemoved; DROP TRIGGER OrdersToCome_LineMoved; "
            "DROP VIEW OrdersToComeNow; "
            "DROP TABLE OrdersToCome"
          : "DROP TRIGGER OrdersToCome_Lines ON PurchaseOrderDetails; "
            "DROP TRIGGER OrdersToCome_LineChanged ON PurchaseOrderDetails; "
            "DROP TRIGGER OrdersToCome_Order ON PurchaseOrders; DROP TABLE OrdersToCome");
  connection->Execute("UPDATE PurchaseOrders SET Status = 1 WHERE ID = 3");
  EXPECT_TRUE(AddOrdersToCome(*connection));
  EXPECT_EQ(OrdersToCome(*connection, true), OrdersToCome(*connection, false));
  connection->Execute("UPDATE PurchaseOrders SET Status = 3 WHERE ID = 3");
  EXPECT_EQ(OrdersToCome(*connection, true), OrdersToCome(*connection, false));
  EXPECT_TRUE(AddOrdersToCome(*connection));
  EXPECT_FALSE(Run("sp_AO_GRV_Select_Outstanding_Orders 1,1")->IsEOF());
  // An earlier build's triggers give way to this build's.
  connection->ExecuteScript(GetParam() == data::Backend::kSQLite
                                ? "DROP TRIGGER OrdersToCome_LineMoved"
                                : "DROP TRIGGER OrdersToCome_LineChanged ON PurchaseOrderDetails");
  EXPECT_TRUE(AddOrdersToCome(*connection));
  connection->Execute("UPDATE PurchaseOrderDetails SET QtyReceived = 0 WHERE PurchaseOrderID = 1");
  connection->Execute(
      "UPDATE PurchaseOrderDetails SET PurchaseOrderID = 2 WHERE ID = "
      "(SELECT MIN(ID) FROM PurchaseOrderDetails WHERE PurchaseOrderID = 1)");
  EXPECT_EQ(OrdersToCome(*connection, true), OrdersToCome(*connection, false));
}

TEST_P(DemoDatabaseTest, LineAmountsAddUpExactly) {
  for (int order = 1; order <= 10; ++order) {
    auto rows = Run("sp_AO_Select_Order_Details " + std::to_string(order));
    for (; !rows->IsEOF(); rows->MoveNext()) {
      SCOPED_TRACE("order line " + vb::CStr(rows->Item("ID").Value()));
      const vb::Currency gross = vb::Currency::FromDouble(
          vb::CDbl(rows->Item("Qty").Value()) * vb::CDbl(rows->Item("Unit Price").Value()));
      const vb::Currency net = gross - vb::CCur(rows->Item("Trade Disc").Value()) -
                               vb::CCur(rows->Item("Rebate Disc").Value()) -
                               vb::CCur(rows->Item("Other Disc").Value());
      EXPECT_EQ(vb::CCur(rows->Item("Net Amount").Value()), net);
      // Lines without a tax code are taxed at the standard rate.
      const vb::Variant tax_code = rows->Item("Tax_Codes_ID").Value();
      const int64_t rate =
          tax_code.IsNull() || vb::CLng(tax_code) == 1 || vb::CLng(tax_code) == 4 ? 15 : 0;
      const int64_t tax_raw = (net.raw() * rate / 100 + 50) / 100 * 100;
      EXPECT_EQ(vb::CCur(rows->Item("Tax").Value()), vb::Currency::FromRaw(tax_raw));
      EXPECT_EQ(vb::CCur(rows->Item("Total Cost").Value()),
                net + vb::CCur(rows->Item("Tax").Value()));
    }
  }
}

// The outputs' order is the save dialog's tests' (on periods of their own);
// here the demo's periods, whose year keys do not follow the calendar.
TEST_P(DemoDatabaseTest, TheLastPeriodProcedureFollowsTheCalendarNotTheYearKeys) {
  vb::Variant kind(6), company(1), last_month, last_year;
  std::vector<ProcedureParameter> parameters = {
      ProcedureParameter::In(kind), ProcedureParameter::In(company),
      ProcedureParameter::Out(last_month), ProcedureParameter::Out(last_year)};
  auto connection = gateway_.OpenConnection(db_.ConnectionText(), -1, 3);
  int32_t status = 0;
  gateway_.RunProcedure("sp_AW_Get_Last_Period_Procedure_Period", connection, 1, parameters,
                        status);
  // October 2026, not December 2019, whose year key 17 is the highest.
  EXPECT_EQ(last_month, vb::Variant(10));
  EXPECT_EQ(last_year, vb::Variant(7));
}

// Their order across years is PeriodKeyOfYear's; here, that a year key is
// read as its calendar year and an unknown one refused.
TEST_P(DemoDatabaseTest, PeriodKeysFollowCalendarYearsNotYearKeys) {
  services::ControlSettings settings;
  settings.Connect(db_.ConnectionText());
  // Key 17 is 2019, key 1 is 2020.
  EXPECT_LT(settings.PeriodKey(12, 17), settings.PeriodKey(1, 1));
  EXPECT_LT(settings.PeriodKey(11, 7), settings.PeriodKey(1, 8));
  for (int32_t year_key : {0, 99}) {
    EXPECT_EQ(test_support::ErrorNumberOf([&] { settings.PeriodKey(1, year_key); }),
              vb::err::kInvalidCall)
        << year_key;
  }
}

// The company's values are read by the save dialog's tests, which set one
// company's rules beside another's.
TEST_P(DemoDatabaseTest, SavedControlValuesAreReadPerUser) {
  services::ControlSettings all_users;
  all_users.Connect(db_.ConnectionText());
  services::ControlSettings clerk;
  clerk.Connect(db_.ConnectionTextAs("clerk"));
  struct Case {
    services::ControlSettings* settings;
    const char* kind;
    const char* name;
    int16_t index;
    const char* database;
    const char* value;
  };
  const Case user_cases[] = {
      {&all_users, "CheckBox", "chkPOGRVForm", 0, "KvtDemo", "1"},
      {&all_users, "checkbox", "CHKPOGRVFORM", 2, "kvtdemo", "0"},
      {&all_users, "CheckBox", "chkPOGRVForm", 0, "OtherDb", ""},
      {&clerk, "CheckBox", "chkPOGRVForm", 0, "KvtDemo", "0"},
      {&clerk, "CheckBox", "chkPOGRVForm", 1, "KvtDemo", "1"},
      {&clerk, "ComboBox", "cboPrinters", 7, "KvtDemo", "Purchasing Printer"},
  };
  for (const Case& c : user_cases) {
    SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
    EXPECT_EQ(c.settings->ReadControlValue(c.kind, c.name, c.index, c.database), c.value);
  }
}

KVT_INSTANTIATE_BACKENDS(DemoDatabaseTest);

// What only a database file has.
class DemoDatabaseFileTest : public DemoDatabaseTest {};
INSTANTIATE_TEST_SUITE_P(File, DemoDatabaseFileTest, ::testing::Values(data::Backend::kSQLite),
                         test_support::BackendTestName);

TEST_P(DemoDatabaseFileTest, OnlyOurDatabasesAreUsedAndNoFileIsEverReplaced) {
  const std::string other_db = path_ + ".other";
  data::Connection::Open(other_db, data::Connection::OpenMode::kCreate)
      ->ExecuteScript("CREATE TABLE PurchaseOrders (ID INTEGER)");
  std::ofstream(path_ + ".txt") << "Provider=SQLite is no database, just text.";
  std::ofstream(path_ + ".empty");
  struct Case {
    std::string path;
    int32_t check_error;  // CheckOurDatabase and ResetDemoDatabase
    int32_t create_error;
  } cases[] = {
      {path_, 0, vb::err::kFileAlreadyExists},
      {path_ + ".missing/demo.sqlite", vb::err::kFileNotFound, vb::err::kPathNotFound},
      {path_ + ".txt", vb::err::kAdoConnectionFailed, vb::err::kFileAlreadyExists},
      {path_ + ".empty", vb::err::kInvalidFileFormat, vb::err::kFileAlreadyExists},
      {other_db, vb::err::kInvalidFileFormat, vb::err::kFileAlreadyExists},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const bool existed = std::filesystem::exists(c.path);
    const std::string before = FileText(c.path);
    EXPECT_EQ(ErrorNumberOf([&] { CheckOurDatabase(c.path); }), c.check_error);
    EXPECT_EQ(ErrorNumberOf([&] { ResetDemoDatabase(c.path); }), c.check_error);
    EXPECT_EQ(ErrorNumberOf([&] { CreateDemoDatabase(c.path); }), c.create_error);
    EXPECT_EQ(std::filesystem::exists(c.path), existed);
    if (c.check_error != 0) {
      EXPECT_EQ(FileText(c.path), before);
    }
    if (c.path != path_) std::filesystem::remove(c.path);
  }
}

TEST_P(DemoDatabaseFileTest, ResetPutsTheDemoDataBackOnlyWhenNoOtherConnectionIsOpen) {
  auto other = data::Connection::Open(path_);
  const int32_t demo_users = Users(*other);
  other->ExecuteScript("BEGIN; INSERT INTO Users (ID, Username) VALUES (99, 'writer')");
  EXPECT_EQ(ErrorNumberOf([&] { ResetDemoDatabase(path_); }), data::kCommandError);
  other->ExecuteScript("COMMIT");
  EXPECT_EQ(Users(*other), demo_users + 1);  // the writer's row is kept
  // An idle reader too: the tables would go from under it.
  EXPECT_EQ(ErrorNumberOf([&] { ResetDemoDatabase(path_); }), data::kCommandError);
  other->Close();
  ResetDemoDatabase(path_);
  EXPECT_EQ(Users(*data::Connection::Open(path_)), demo_users);
  EXPECT_EQ(Run("Exec sp_AO_GRV_Select_Outstanding_Order_Details 1")->RecordCount(), 2);
}

TEST_P(DemoDatabaseFileTest, VolumeOrdersAreOutstanding) {
  EXPECT_EQ(AddVolumeOrders(path_, 1000, 10), 11);
  const char* lines = "Exec sp_AO_GRV_Select_Outstanding_Order_Details ";
  EXPECT_EQ(Run(lines + std::to_string(110))->RecordCount(), 10);
  EXPECT_EQ(Run(lines + std::to_string(111))->RecordCount(), 0);
}

// An earlier build's bodies are replaced when they differ, and a catalogue
// that agrees is not written to (a reader's open takes no lock).
TEST_P(DemoDatabaseFileTest, TheProcedureCatalogueFollowsThisBuild) {
  auto connection = data::Connection::Open(path_);
  auto scalar = [&](const std::string& sql) { return connection->Query(sql)->Item(0).Value(); };
  const std::string named = " WHERE name = 'sp_AO_GRV_Select_Outstanding_Order_Details'";
  auto body = [&] { return vb::CStr(scalar("SELECT body FROM kvt_procedures" + named)); };
  const std::string current = body();
  connection->Execute("UPDATE kvt_procedures SET body = 'SELECT 1'" + named);
  connection->Execute(
      "INSERT INTO kvt_procedures (name, parameter_count, body) "
      "VALUES ('sp_Gone', 0, 'SELECT 2')");
  EXPECT_TRUE(RefreshProcedureCatalogue(*connection));
  EXPECT_EQ(body(), current);
  EXPECT_EQ(vb::CLng(scalar("SELECT COUNT(*) FROM kvt_procedures WHERE name = 'sp_Gone'")), 0);

  // Agreeing, it writes nothing: another connection's open write
  // transaction does not stand in its way.
  auto writer = data::Connection::Open(path_);
  writer->ExecuteScript("BEGIN IMMEDIATE; UPDATE Users SET Username = Username");
  EXPECT_TRUE(RefreshProcedureCatalogue(*connection));
  writer->ExecuteScript("ROLLBACK");
}

#if KVT_WITH_POSTGRES
// A server's database is a schema: the host's checks and reset of it.
class DemoDatabaseServerTest : public DemoDatabaseTest {};
INSTANTIATE_TEST_SUITE_P(Server, DemoDatabaseServerTest,
                         ::testing::Values(data::Backend::kPostgreSQL),
                         test_support::BackendTestName);

TEST_P(DemoDatabaseServerTest, OnlyOurSchemasAreUsedAndResetPutsTheDemoDataBack) {
  test_support::TempDemoDatabase empty("kvt_empty", GetParam(),
                                       test_support::TempDemoDatabase::Content::kEmpty);
  EXPECT_TRUE(HoldsNoTables(*empty.Open()));
  EXPECT_EQ(ErrorNumberOf([&] { CheckOurSchema(*empty.Open(), "empty"); }),
            vb::err::kInvalidFileFormat);
  EXPECT_EQ(ErrorNumberOf([&] { ResetDemoSchema(*empty.Open(), "empty"); }),
            vb::err::kInvalidFileFormat);
  // Tables of our names without our columns: another program's.
  empty.Run(
      "CREATE TABLE PurchaseOrders (ID INTEGER); CREATE TABLE PurchaseOrderDetails (ID INTEGER); "
      "CREATE TABLE Years (ID INTEGER)");
  EXPECT_EQ(ErrorNumberOf([&] { CheckOurSchema(*empty.Open(), "lookalike"); }),
            vb::err::kInvalidFileFormat);
  auto connection = db_.Open();
  EXPECT_FALSE(HoldsNoTables(*connection));
  const int32_t demo_users = Users(*connection);
  connection->Execute("INSERT INTO Users (ID, Username) VALUES (99, 'writer')");
  // Another session on the schema, idle, refuses it; the schema stays.
  auto reader = db_.Open();
  EXPECT_EQ(ErrorNumberOf([&] { ResetDemoSchema(*connection, "demo"); }), data::kCommandError);
  EXPECT_EQ(Users(*connection), demo_users + 1);
  reader->Close();
  ResetDemoSchema(*connection, "demo");
  EXPECT_EQ(Users(*connection), demo_users);
}
#endif

}  // namespace
}  // namespace kvt::db
