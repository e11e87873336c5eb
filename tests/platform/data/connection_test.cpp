#include "platform/data/connection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "db/portable_script.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/vb_error.h"

namespace kvt::data {
namespace {

using test_support::ErrorNumberOf;
using test_support::ErrorOf;

class ConnectionTest : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    connection_ = db_.Open();
    db::RunPortableScript(*connection_,
                          "CREATE TABLE Products (ID INTEGER PRIMARY KEY, Name TEXT, "
                          "  LeadTime INTEGER, Cost CURRENCY, LastSale DATE, Active BOOLEAN, "
                          "  Level REAL);"
                          "INSERT INTO Products VALUES (1, 'Bolt', 7, 1234.5, '2026-11-05', TRUE, "
                          "95);"
                          "INSERT INTO Products VALUES (2, 'O''Brien nut', NULL, 0.1, NULL, FALSE, "
                          "  NULL);");
  }

  test_support::TempDemoDatabase db_{"kvt_connection", GetParam(),
                                     test_support::TempDemoDatabase::Content::kEmpty};
  ConnectionRef connection_;
};

TEST_P(ConnectionTest, ResultKeepsColumnNamesAndTypes) {
  auto rows = connection_->Query(
      "SELECT ID AS \"ID\", Name AS \"Product Name\", LeadTime AS \"Lead Time\", "
      "Cost AS \"Last_Cost\", LastSale AS \"Last Sale\", Active AS \"Active\", "
      "Level AS \"Level\", LeadTime * 2 AS \"Doubled\" FROM Products ORDER BY ID");
  const vb::Variant null = vb::Variant::Null();
  const struct {
    const char* name;
    DataType type;
    vb::Variant first, second;
  } columns[] = {
      {"ID", DataType::kInteger, vb::Variant(1), vb::Variant(2)},
      {"Product Name", DataType::kVarWChar, vb::Variant("Bolt"), vb::Variant("O'Brien nut")},
      {"Lead Time", DataType::kInteger, vb::Variant(7), null},
      {"Last_Cost", DataType::kCurrency, vb::Variant(vb::Currency::FromRaw(12345000)),
       vb::Variant(vb::Currency::FromRaw(1000))},
      {"Last Sale", DataType::kDate, vb::Variant(vb::Date::FromYmd(2026, 11, 5)), null},
      {"Active", DataType::kBoolean, vb::Variant(true), vb::Variant(false)},
      {"Level", DataType::kDouble, vb::Variant(95.0), null},
      {"Doubled", DataType::kInteger, vb::Variant(14), null},
  };
  ASSERT_EQ(rows->Fields().Count(), 8);
  EXPECT_EQ(rows->RecordCount(), 2);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(columns[i].name);
    EXPECT_EQ(rows->Item(i).Name(), columns[i].name);
    EXPECT_EQ(rows->Item(i).Type(), columns[i].type);
    rows->MoveFirst();
    EXPECT_EQ(rows->Item(i).Value(), columns[i].first);
    rows->MoveNext();
    EXPECT_EQ(rows->Item(i).Value(), columns[i].second);
  }
}

TEST_P(ConnectionTest, DeclaredColumnTypesOverrideComputedOnes) {
  auto rows = connection_->Query("SELECT SUM(Level) AS \"Total\" FROM Products", {},
                                 {{"Total", DataType::kCurrency}});
  EXPECT_EQ(rows->Item("Total").Type(), DataType::kCurrency);
  EXPECT_EQ(rows->Item("Total").Value(), vb::Variant(vb::Currency::FromInt(95)));
  EXPECT_EQ(connection_->Execute("UPDATE Products SET Level = ?1 WHERE ID > ?2",
                                 {vb::Variant(50.0), vb::Variant(0)}),
            2);  // changed rows
}

TEST_P(ConnectionTest, ParametersAreBoundNotSpliced) {
  auto rows =
      connection_->Query("SELECT ID FROM Products WHERE Name = ?1", {vb::Variant("O'Brien nut")});
  EXPECT_EQ(rows->Item("ID").Value(), vb::Variant(2));
  rows =
      connection_->Query("SELECT ID FROM Products WHERE Name = ?1", {vb::Variant("x' OR '1'='1")});
  EXPECT_TRUE(rows->IsEOF());
  rows = connection_->Query("SELECT ID FROM Products WHERE LastSale = ?1",
                            {vb::Variant(vb::Date::FromYmd(2026, 11, 5))});
  EXPECT_EQ(rows->Item("ID").Value(), vb::Variant(1));
}

TEST_P(ConnectionTest, SecondStatementIsRefusedAndNothingRuns) {
  EXPECT_EQ(ErrorNumberOf([&] { connection_->Query("SELECT 1; DELETE FROM Products"); }),
            kCommandError);
  EXPECT_EQ(connection_->Query("SELECT COUNT(*) AS n FROM Products")->Item("n").Value(),
            vb::Variant(2));
}

TEST_P(ConnectionTest, RecordSetOutlivesItsConnection) {
  auto rows = connection_->Query("SELECT Name FROM Products ORDER BY ID");
  connection_->Close();
  rows->MoveLast();
  EXPECT_EQ(rows->Item("Name").Value(), vb::Variant("O'Brien nut"));
  EXPECT_EQ(ErrorNumberOf([&] { connection_->Query("SELECT 1"); }), vb::err::kAdoObjectClosed);
}

TEST_P(ConnectionTest, FailedTransactionReportsItsFirstCauseAndLeavesNothing) {
  // The engine ends the transaction itself: SQLite on a disk that is full
  // once the file has its present pages, the server when the session dies.
  std::function<void()> fail;
  std::string cause;
  if (GetParam() == Backend::kSQLite) {
    const int32_t pages = vb::CLng(connection_->Query("PRAGMA page_count")->Item(0).Value());
    connection_->Execute("PRAGMA max_page_count = " + std::to_string(pages));
    fail = [&] {
      connection_->Execute("INSERT INTO Products (ID, Name) VALUES (4, ?1)",
                           {vb::Variant(std::string(100000, 'x'))});
    };
    cause = "database or disk is full";
  } else {
    fail = [&] { connection_->Query("SELECT pg_terminate_backend(pg_backend_pid())"); };
    cause = "FATAL: terminating connection due to administrator command";
  }
  const vb::Error error = ErrorOf([&] {
    connection_->RunInTransaction([&] {
      connection_->Execute("INSERT INTO Products (ID, Name) VALUES (3, 'Washer')");
      fail();
    });
  });
  EXPECT_EQ(error.description().substr(0, cause.size()), cause);  // libpq may add more
  EXPECT_EQ(vb::CLng(db_.Open()->Query("SELECT COUNT(*) FROM Products")->Item(0).Value()), 2);
}

// SQLite's write lock, a server's row lock: waited for as long as the lock
// timeout says, then refused as a conflict that may pass when run again.
TEST_P(ConnectionTest, ALockHeldPastTheTimeoutIsALockConflict) {
  auto holder = db_.Open();
  holder->Execute("BEGIN");
  holder->Execute("UPDATE Products SET Level = 1 WHERE ID = 1");
  connection_->SetLockTimeout(50);
  const auto start = std::chrono::steady_clock::now();
  try {
    connection_->Execute("UPDATE Products SET Level = 2 WHERE ID = 1");
    ADD_FAILURE() << "no error";
  } catch (const LockConflict& error) {
    EXPECT_EQ(error.number(), kCommandError);
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(40));
  EXPECT_LT(waited, std::chrono::milliseconds(Connection::kDefaultLockTimeoutMs));
  holder->Execute("ROLLBACK");
}

TEST_P(ConnectionTest, TextWithAZeroCharacterIsRefusedNeverCut) {
  const std::string with_zero("Bolt\0 and nut", 14);
  const std::function<void()> refused[] = {
      [&] { connection_->Execute("UPDATE Products SET Name = ?1 WHERE ID = 1", {with_zero}); },
      [&] { connection_->Query("SELECT Name FROM Products WHERE Name = ?1", {with_zero}); },
      [&] { connection_->Execute(std::string("DELETE FROM Products\0 WHERE ID = 1", 34)); },
  };
  for (const auto& run : refused) EXPECT_EQ(ErrorNumberOf(run), vb::err::kAdoDataConversion);
  EXPECT_EQ(ErrorOf(refused[0]).description(),
            "The text holds a zero character, which a database cannot store; nothing was written.");
  EXPECT_EQ(vb::CStr(connection_->Query("SELECT Name FROM Products WHERE ID = 1")->Item(0).Value()),
            "Bolt");
  EXPECT_EQ(vb::CLng(connection_->Query("SELECT COUNT(*) FROM Products")->Item(0).Value()), 2);
}

KVT_INSTANTIATE_BACKENDS(ConnectionTest);

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// A file that is no database: the demo database's checks.
TEST(SqliteConnectionTest, MissingFileFailsToConnectAndIsNotCreated) {
  const std::string missing = TempPath("kvt_connection_missing.sqlite");
  const vb::Error error = ErrorOf([&] { Connection::Open(missing); });
  EXPECT_EQ(error.number(), vb::err::kAdoConnectionFailed);
  EXPECT_EQ(error.context(), missing);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

std::string Username(Connection& connection) {
  return vb::CStr(connection.Query("SELECT Username FROM Users WHERE ID = 1")->Item(0).Value());
}

// The inode of `path`, 0 when there is no such file.
ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Something else in the process opens and closes the database's files (a
// file dialog reading their type), which drops the engine's own locks;
// another program then starts on the database, writes and ends. Its
// start-up and its end neither rebuild nor delete the log and its index
// under the connection, which sees what it wrote and loses nothing.
TEST(SqliteConnectionTest, AStrayCloseInTheProcessLeavesTheConnectionItsFiles) {
  test_support::TempDemoDatabase db("kvt_stray_close");
  auto desk = Connection::Open(db.Path());
  desk->Execute("UPDATE Users SET Username = 'desk' WHERE ID = 1");
  const ino_t log = InodeOf(db.Path() + "-wal");
  const ino_t index = InodeOf(db.Path() + "-shm");
  ASSERT_NE(log, 0u);
  for (const char* suffix : {"", "-wal", "-shm"}) {
    const int fd = ::open((db.Path() + suffix).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0) << suffix;
    ::close(fd);
  }
  const std::string other = "sqlite3 '" + db.Path() + "' ";
  ASSERT_EQ(std::system((other + "'SELECT 1' >/dev/null").c_str()), 0);
  ASSERT_EQ(std::system((other + "\"UPDATE Users SET Username = 'other' WHERE ID = 1\"").c_str()),
            0);
  EXPECT_EQ(InodeOf(db.Path() + "-wal"), log);
  EXPECT_EQ(InodeOf(db.Path() + "-shm"), index);
  EXPECT_EQ(Username(*desk), "other");
  desk->Execute("UPDATE Users SET Username = Username || ' and desk' WHERE ID = 1");
  desk->Close();
  EXPECT_EQ(Username(*Connection::Open(db.Path())), "other and desk");
}

TEST(SqliteConnectionTest, OpeningAloneIsRefusedWhileAnyOtherConnectionIsOpen) {
  test_support::TempDemoDatabase db("kvt_alone");
  auto reader = Connection::Open(db.Path());
  Username(*reader);
  const vb::Error error =
      ErrorOf([&] { Connection::Open(db.Path(), Connection::OpenMode::kAlone); });
  EXPECT_EQ(error.number(), kCommandError);
  EXPECT_EQ(error.description(), "Another program has the database open.");
  // Another program's reader, between its statements.
  reader->Close();
  const std::string sqlite = "sqlite3 '" + db.Path() + "' >/dev/null";
  FILE* other = ::popen(sqlite.c_str(), "w");
  ASSERT_NE(other, nullptr);
  std::fputs("SELECT COUNT(*) FROM Users;\n", other);
  std::fflush(other);
  ::usleep(500000);  // for it to read
  EXPECT_EQ(ErrorNumberOf([&] { Connection::Open(db.Path(), Connection::OpenMode::kAlone); }),
            kCommandError);
  ::pclose(other);
  EXPECT_EQ(Username(*Connection::Open(db.Path(), Connection::OpenMode::kAlone)), "admin");
}

}  // namespace
}  // namespace kvt::data
