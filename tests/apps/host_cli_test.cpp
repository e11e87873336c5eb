// kvt-host run as a user runs it, with hostile command lines and files:
// a clear message and exit status, never an abort, never a lost file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "db/demo_database.h"
#include "platform/data/connection.h"
#include "platform/value/conversions.h"

namespace kvt::host {
namespace {

struct Outcome {
  int status = -1;  // exit status; 128 + n after signal n
  std::string out, err;
};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class HostCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kvt_host_cli_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  // Runs `shell` with "$HOST" standing for the host, stdout through a pipe.
  Outcome Run(const std::string& shell) const {
    const std::string err = File("stderr.txt");
    const std::string command = "cd '" + dir_.string() + "' && HOST='" KVT_HOST_PATH
                                "' timeout 120 bash -c '" + shell + "' 2>'" + err + "'";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      outcome.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.err = FileText(err);
    return outcome;
  }

  std::filesystem::path dir_;
};

TEST_F(HostCliTest, EveryFailureIsAMessageAndAnExitStatus) {
  std::ofstream(File("notes.txt")) << "my notes";
  std::ofstream(File("empty.sqlite"));
  struct Case {
    const char* shell;
    int status;
    const char* err;  // the start of stderr
  } cases[] = {
      {"$HOST --help | grep -q \"^  kvt-host --gui \\[--db PATH\\] \\[--new\\]$\"", 0, ""},
      {"$HOST frobnicate", 2, "kvt-host: no command \"frobnicate\"\nusage:"},
      {"$HOST scenario --db", 2, "kvt-host: --db needs a value\nusage:"},
      {"$HOST formula x --x 1e999", 2, "kvt-host: --x needs a number, not \"1e999\""},
      {"$HOST scenario --db nowhere/x.sqlite", 1,
       "kvt-host: creating the demo database at nowhere/x.sqlite: Path not found (error 76)\n"},
      {"$HOST scenario --db notes.txt", 1,
       "kvt-host: opening the database notes.txt: file is not a database (error -2147467259)\n"},
      {"$HOST --gui --db missing.sqlite", 1,
       "kvt-host: opening the database missing.sqlite: File not found (error 53)\n"
       "kvt-host: --new makes the demo database there\n"},
      {"$HOST --gui --db empty.sqlite", 1,
       "kvt-host: opening the database empty.sqlite: Invalid file format (error 321)\n"},
      // A disk that fills up while the database is built.
      {"trap \"\" XFSZ; ulimit -f 16; exec $HOST scenario --db full.sqlite", 1,
       "kvt-host: creating the demo database at full.sqlite: disk I/O error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shell);
    const Outcome outcome = Run(c.shell);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err.substr(0, std::string(c.err).size()), c.err) << outcome.err;
    if (c.status == 0) {
      EXPECT_EQ(outcome.err, "");
    }
  }
  EXPECT_EQ(FileText(File("notes.txt")), "my notes");
  EXPECT_EQ(FileText(File("empty.sqlite")), "");
  // Nothing was made where nothing was asked for or the build failed.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 3)
      << "only notes.txt, empty.sqlite and stderr.txt";
}

TEST_F(HostCliTest, TheScenarioKeepsWhatADatabaseOfOursHoldsUntilAReset) {
  ASSERT_EQ(Run("$HOST scenario --db demo.sqlite --out pdf >/dev/null").status, 0);
  auto users = [&] {
    return vb::CLng(data::Connection::Open(File("demo.sqlite"))
                        ->Query("SELECT COUNT(*) FROM Users")->Item(0).Value());
  };
  const int32_t demo_users = users();
  data::Connection::Open(File("demo.sqlite"))
      ->Execute("INSERT INTO Users (ID, Username) VALUES (99, 'saved by the GUI')");
  const Outcome again = Run("$HOST scenario --db demo.sqlite --out pdf");
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out.substr(0, 36), "Demo database opened at demo.sqlite\n");
  EXPECT_EQ(users(), demo_users + 1);
  EXPECT_EQ(Run("$HOST scenario --db demo.sqlite --reset-demo --out pdf >/dev/null").status, 0);
  EXPECT_EQ(users(), demo_users);
}

}  // namespace
}  // namespace kvt::host
