// Test helper: a temporary database of one backend, with the demo data or
// empty, dropped when the helper goes. Suites that touch data run on every
// backend by taking the backend as their parameter:
//
//   class OrderRowsTest : public ::testing::TestWithParam<data::Backend> {
//    protected:
//     test_support::TempDemoDatabase db_{"kvt_order_rows", GetParam()};
//   };
//   TEST_P(OrderRowsTest, ...) { gateway.OpenConnection(db_.ConnectionText(), -1, 3); }
//   KVT_INSTANTIATE_BACKENDS(OrderRowsTest);   // .../SQLite, .../PostgreSQL
//
// SQLite databases are files in the temporary folder. PostgreSQL ones are
// schemas of the database "kvt" on the server that KVT_TEST_POSTGRES names
// (a connection text without Provider and Database; scripts/with-postgres.sh,
// run by scripts/test.sh, starts one, makes "kvt" and sets it). Without it
// the helper throws, so the PostgreSQL cases fail, never skip.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "db/demo_database.h"
#include "db/portable_script.h"
#include "platform/data/connection.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"
#include "services/connection_text.h"

namespace kvt::test_support {

// The backends this build has: SQLite, and PostgreSQL unless built without.
inline std::vector<data::Backend> TestBackends() {
#if KVT_WITH_POSTGRES
  return {data::Backend::kSQLite, data::Backend::kPostgreSQL};
#else
  return {data::Backend::kSQLite};
#endif
}

// "SQLite" or "PostgreSQL": the last part of each parameterised test's name.
inline std::string BackendTestName(const ::testing::TestParamInfo<data::Backend>& info) {
  return data::BackendName(info.param);
}

#define KVT_INSTANTIATE_BACKENDS(suite)                                              \
  INSTANTIATE_TEST_SUITE_P(Backends, suite,                                          \
                           ::testing::ValuesIn(::kvt::test_support::TestBackends()), \
                           ::kvt::test_support::BackendTestName)

// The test server's connection text for `database`; throws when the run
// has no server.
inline std::string TestServerText(const std::string& database) {
  const char* server = std::getenv("KVT_TEST_POSTGRES");
  if (server == nullptr || *server == '\0') {
    throw std::runtime_error(
        "KVT_TEST_POSTGRES is not set: run the tests through scripts/test.sh "
        "(or scripts/with-postgres.sh), which starts a PostgreSQL server");
  }
  return std::string("Provider=PostgreSQL;") + server + ";Database=" + vb::KeyValueText(database);
}

// A schema of its own in the test server's database "kvt" (a database is
// ten times slower to make), or a file of its own for SQLite.
class TempDemoDatabase {
 public:
  static constexpr char kTestDatabase[] = "kvt";

  // kSchema: tables and procedures without data; kEmpty: no tables, ready
  // for scripts in the shared dialect (db/portable_script.h).
  enum class Content { kDemo, kSchema, kEmpty };

  explicit TempDemoDatabase(const std::string& stem, data::Backend backend = data::Backend::kSQLite,
                            Content content = Content::kDemo)
      : backend_(backend), name_(UniqueName(stem)) {
    if (backend_ == data::Backend::kSQLite) {
      path_ = (std::filesystem::temp_directory_path() / (name_ + ".sqlite")).string();
      // A file left by a crashed run of the same pid; creating never replaces.
      RemoveFiles();
      if (content == Content::kDemo) {
        db::CreateDemoDatabase(path_);
      } else if (content == Content::kSchema) {
        db::CreateEmptyDatabase(path_);
      } else {
        data::Connection::Open(path_, data::Connection::OpenMode::kCreate);
      }
      return;
    }
    Administer("CREATE SCHEMA \"" + name_ + "\"; GRANT USAGE ON SCHEMA \"" + name_ +
               "\" TO PUBLIC");
    if (content == Content::kEmpty) {
      db::PrepareForPortableScripts(*Open());
    } else {
      db::BuildDatabase(*Open(), content == Content::kDemo);
    }
  }
  ~TempDemoDatabase() {
    if (backend_ == data::Backend::kSQLite) {
      RemoveFiles();
      return;
    }
    try {
      Administer("DROP SCHEMA IF EXISTS \"" + name_ + "\" CASCADE");
    } catch (...) {
      // A server that went away took the schema with it.
    }
  }
  TempDemoDatabase(const TempDemoDatabase&) = delete;
  TempDemoDatabase& operator=(const TempDemoDatabase&) = delete;

  data::Backend Backend() const { return backend_; }
  // The SQLite file (empty for PostgreSQL).
  const std::string& Path() const { return path_; }
  std::string ConnectionText() const {
    return backend_ == data::Backend::kSQLite ? db::ConnectionTextFor(path_)
                                              : TestServerText(kTestDatabase) + ";Schema=" + name_;
  }
  // The connection text with `user` as User ID. On PostgreSQL that is the
  // login, so the user is made a role of the server (with the server's
  // password) that may read and write the database's tables.
  std::string ConnectionTextAs(const std::string& user) const {
    const std::string text = ConnectionText() + ";User ID=" + user;
    if (backend_ == data::Backend::kPostgreSQL) {
      const std::string password = services::ParseConnectionText(text).password;
      Administer("DO $$ BEGIN CREATE ROLE \"" + user + "\" LOGIN PASSWORD '" + password +
                 "'; EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END $$");
      // Every role, and every company's rows, so that the suite tests its
      // own rules and not the roles'.
      Open()->ExecuteScript("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA \"" +
                            name_ + "\" TO \"" + user + "\"; GRANT kvt_buyer, kvt_clerk, " +
                            "kvt_accountant, kvt_admin TO \"" + user + "\"; " +
                            "INSERT INTO UserCompanies (UserName, CompanyID) SELECT '" + user +
                            "', ID FROM Companies ON CONFLICT DO NOTHING");
    }
    return text;
  }
  // A new connection of its own.
  data::ConnectionRef Open() const {
    return services::OpenConnection(services::ParseConnectionText(ConnectionText()));
  }
  // Runs `sql`, written in the shared dialect (db/portable_script.h).
  void Run(const std::string& sql) const { db::RunPortableScript(*Open(), sql); }
  // Renames a result column of a procedure, so that the column is gone under
  // its own name: in the catalogue's body, or in a server function's
  // declared result (made anew, as a result cannot be altered).
  void RenameProcedureColumn(const std::string& procedure, const std::string& column,
                             const std::string& to) const {
    auto connection = Open();
    if (backend_ == data::Backend::kSQLite) {
      connection->Execute("UPDATE kvt_procedures SET body = replace(body, ?2, ?3) WHERE name = ?1",
                          {vb::Variant(procedure), vb::Variant("AS " + vb::DoubleQuoted(column)),
                           vb::Variant("AS " + vb::DoubleQuoted(to))});
      return;
    }
    const std::string definition = vb::CStr(
        connection->Query("SELECT pg_get_functiondef(?1::regproc)", {vb::Variant(procedure)})
            ->Item(0)
            .Value());
    connection->ExecuteScript("DROP FUNCTION " + procedure);
    std::string renamed = definition;
    const std::string from = vb::DoubleQuoted(column);
    renamed.replace(renamed.find(from), from.size(), vb::DoubleQuoted(to));
    connection->ExecuteScript(renamed);
  }
  // Saves `user`'s value ("" for every user's) of a control in `database`,
  // replacing an earlier one; nullptr forgets it.
  void SaveControlValue(const std::string& database, const std::string& user,
                        const std::string& kind, const std::string& name, int index,
                        const char* value) const {
    auto connection = Open();
    std::vector<vb::Variant> row{vb::Variant(database), vb::Variant(user), vb::Variant(kind),
                                 vb::Variant(name), vb::Variant(int32_t{index})};
    connection->Execute(
        "DELETE FROM UserControlValues WHERE DatabaseName = ?1 AND UserName = ?2 "
        "AND ControlKind = ?3 AND ControlName = ?4 AND ControlIndex = ?5",
        row);
    if (value == nullptr) return;
    row.emplace_back(value);
    connection->Execute(
        "INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind, ControlName, "
        "ControlIndex, ControlValue) VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
        row);
  }
  // Renames a procedure: a catalogue entry, or a server function.
  void RenameProcedure(const std::string& from, const std::string& to) const {
    if (backend_ == data::Backend::kSQLite) {
      Open()->Execute("UPDATE kvt_procedures SET name = ?2 WHERE name = ?1",
                      {vb::Variant(from), vb::Variant(to)});
    } else {
      Open()->ExecuteScript("ALTER FUNCTION " + from + " RENAME TO " + to);
    }
  }

 private:
  void RemoveFiles() const {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
      std::filesystem::remove(path_ + suffix, ignored);
    }
  }
  static std::string UniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
    std::string name = stem + "_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    return vb::LCase(name);
  }
  // Runs `sql` on the test server's database.
  static void Administer(const std::string& sql) {
    services::OpenConnection(services::ParseConnectionText(TestServerText(kTestDatabase)))
        ->ExecuteScript(sql);
  }

  data::Backend backend_;
  std::string name_;
  std::string path_;
};

// One demo database per backend for a suite: made on first use (`made`, when
// given, says whether this call made it, for data the suite adds once),
// dropped by ReleaseSharedDemoDatabases() (from the suite's
// TearDownTestSuite).
inline std::map<data::Backend, std::unique_ptr<TempDemoDatabase>>& SharedDemoDatabases() {
  static std::map<data::Backend, std::unique_ptr<TempDemoDatabase>> databases;
  return databases;
}
inline TempDemoDatabase& SharedDemoDatabase(data::Backend backend, bool* made = nullptr) {
  auto& database = SharedDemoDatabases()[backend];
  if (made) *made = !database;
  if (!database) database = std::make_unique<TempDemoDatabase>("kvt_shared", backend);
  return *database;
}
inline void ReleaseSharedDemoDatabases() { SharedDemoDatabases().clear(); }

}  // namespace kvt::test_support
