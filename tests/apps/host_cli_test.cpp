// kvt-host run as a user runs it, with hostile command lines and files:
// a clear message and exit status, never an abort, never a lost file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "db/demo_database.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_dir.h"

namespace kvt::host {
namespace {

using test_support::FileText;
using Outcome = test_support::ShellOutcome;

class HostCliTest : public ::testing::Test {
 protected:
  // Runs `shell` in the test's folder, with $HOST standing for the host.
  Outcome Run(const std::string& shell) const {
    return test_support::RunShell(dir_.Path(),
                                  "HOST='" KVT_HOST_PATH "' timeout 120 bash -c '" + shell + "'");
  }

  const test_support::TempDir dir_{"host_cli"};
};

TEST_F(HostCliTest, EveryFailureIsAMessageAndAnExitStatus) {
  std::ofstream(dir_.File("notes.txt")) << "my notes";
  std::ofstream(dir_.File("empty.sqlite"));
  struct Case {
    const char* shell;
    int status;
    const char* err;  // how stderr begins
  } cases[] = {
      {"$HOST --help | grep -q \"^  kvt-host --gui \\[--db DB\\] \\[--new\\] \\[--user NAME\\]$\"",
       0, ""},
      {"$HOST frobnicate", 2, "kvt-host: no command \"frobnicate\"\nusage:"},
      {"$HOST scenario --db", 2, "kvt-host: --db needs a value\nusage:"},
      {"$HOST formula x --x 1e999", 2, "kvt-host: --x needs a number, not \"1e999\""},
      {"$HOST scenario --db nowhere/x.sqlite", 1,
       "kvt-host: creating the demo database at nowhere/x.sqlite: Path not found (error 76)\n"},
      {"$HOST scenario --db notes.txt", 1,
       "kvt-host: opening the database notes.txt: file is not a database (error -2147467259)\n"},
#ifdef KVT_HOST_HAS_DESK
      {"$HOST --gui --db missing.sqlite", 1,
       "kvt-host: opening the database missing.sqlite: File not found (error 53)\n"
       "kvt-host: --new makes the demo database there\n"},
      {"$HOST --gui --db empty.sqlite", 1,
       "kvt-host: opening the database empty.sqlite: Invalid file format (error 321)\n"},
#else
      {"$HOST --gui --db missing.sqlite", 2,
       "kvt-host: --gui: this kvt-host was built without Qt (KVT_WITH_QT=OFF), so it has no "
       "desk"},
#endif
      // A disk that fills up while the database is built.
      {"trap \"\" XFSZ; ulimit -f 16; exec $HOST scenario --db full.sqlite", 1,
       "kvt-host: creating the demo database at full.sqlite: disk I/O error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shell);
    const Outcome outcome = Run(c.shell);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err.substr(0, std::string(c.err).size()), c.err) << outcome.err;
  }
  EXPECT_EQ(FileText(dir_.File("notes.txt")), "my notes");
  EXPECT_EQ(FileText(dir_.File("empty.sqlite")), "");
  // Nothing was made where nothing was asked for or the build failed.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 4);
}

TEST_F(HostCliTest, TheScenarioKeepsWhatADatabaseOfOursHoldsUntilAReset) {
  auto users_after = [&](const std::string& options) {
    return Run("$HOST scenario --db demo.sqlite --out pdf" + options +
               " >/dev/null && sqlite3 demo.sqlite \"SELECT COUNT(*) FROM Users\"")
        .out;
  };
  EXPECT_EQ(users_after(""), "2\n");
  // A row the order screens saved.
  EXPECT_EQ(Run("sqlite3 demo.sqlite \"INSERT INTO Users VALUES (99, 9)\"").status, 0);
  EXPECT_EQ(users_after(""), "3\n");
  EXPECT_EQ(users_after(" --reset-demo"), "2\n");

  // Once the file records roles, only an administrator puts the demo back;
  // a clerk is refused and the work stays.
  EXPECT_EQ(Run("sqlite3 demo.sqlite \"INSERT INTO Users VALUES (99, 9); INSERT INTO UserRoles "
                "VALUES (\\\"boss\\\", \\\"admin\\\"), (\\\"$(id -un)\\\", \\\"clerk\\\")\"")
                .status,
            0);
  const Outcome refused = Run("$HOST scenario --db demo.sqlite --out pdf --reset-demo");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Only an administrator may put the demo data back"), std::string::npos)
      << refused.err;
  EXPECT_EQ(Run("sqlite3 demo.sqlite \"SELECT COUNT(*) FROM Users\"").out, "3\n");
}

TEST_F(HostCliTest, ADatabaseOfAnEarlierBuildIsBroughtUpToDate) {
  // Ours, made before orders could be ended, sales dated, products
  // scanned by barcode and the API's vouchers kept.
  db::CreateDemoDatabase(dir_.File("old.sqlite"));
  ASSERT_EQ(Run("sqlite3 old.sqlite \"ALTER TABLE PurchaseOrders DROP COLUMN EndedBy; "
                "ALTER TABLE PurchaseOrders DROP COLUMN EndedAt; "
                "ALTER TABLE GRVDetails DROP COLUMN SoldOn; DROP INDEX Products_Barcode; "
                "ALTER TABLE Products DROP COLUMN Barcode; DROP TABLE VoucherDrafts\"")
                .status,
            0);
  EXPECT_EQ(Run("$HOST scenario --db old.sqlite --out . >/dev/null").status, 0);
  EXPECT_EQ(Run("sqlite3 old.sqlite \"SELECT COUNT(EndedBy) + COUNT(EndedAt) FROM PurchaseOrders; "
                "SELECT COUNT(SoldOn) > 0 FROM GRVDetails; SELECT COUNT(Barcode) FROM Products; "
                "SELECT COUNT(*) FROM VoucherDrafts\"")
                .out,
            "0\n1\n0\n0\n");
}

TEST_F(HostCliTest, AReadOnlyDatabaseIsNamedSoWithWhatStillWorks) {
  std::filesystem::create_directories(dir_.File("ro"));
  db::CreateDemoDatabase(dir_.File("ro/demo.sqlite"));
  // Root may write anywhere: the host then runs as nobody, who may change
  // the file but not make the log beside it.
  std::string as_user;
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(dir_.File("ro/demo.sqlite").c_str(), 65534, static_cast<gid_t>(-1)), 0);
    as_user = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  } else {
    std::filesystem::permissions(dir_.File("ro"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
  }
  const Outcome story = Run(as_user + "$HOST scenario --db ro/demo.sqlite --out .");
  EXPECT_EQ(story.status, 1);
  EXPECT_EQ(story.err.rfind("kvt-host: the database ro/demo.sqlite is read-only: its folder " +
                                dir_.File("ro") + " takes no new files",
                            0),
            0u)
      << story.err;
  EXPECT_NE(story.err.find("formula --check checks its formulas"), std::string::npos);
  const Outcome check = Run(as_user + "$HOST formula --check --db ro/demo.sqlite");
  EXPECT_EQ(check.status, 0) << check.err;
  std::filesystem::permissions(dir_.File("ro"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

}  // namespace
}  // namespace kvt::host
