// kvt::data::Connection — a database connection that turns query results
// into RecordSets, one interface for every backend: an SQLite database file
// (the embedded default) or a PostgreSQL server (postgres_connection.h).
//
// Only this layer and services/ know the database engines; the header keeps
// their types out so that business code can hold a Connection in a Variant.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/data/record_set.h"
#include "platform/value/variant.h"

namespace kvt::data {

enum class Backend {
  kSQLite,
  kPostgreSQL,
};

// "SQLite" or "PostgreSQL", as a connection text's Provider names them.
const char* BackendName(Backend backend);

class Connection : public vb::Object {
 public:
  // Types of result columns by exact name, for computed columns whose type
  // the engine cannot tell (a sum of amounts is still money).
  using ColumnTypes = std::vector<std::pair<std::string, DataType>>;

  enum class OpenMode {
    kExisting,  // the file must exist; it is never created
    kCreate,    // creates the file when missing (used to build databases)
    kAlone,     // as kExisting, refused (a LockConflict) while any other
                // connection has the file open, an idle reader included
  };

  // Opens the SQLite database file at `path` (":memory:" opens a private
  // empty database). Raises 0x80004005 with the engine's message when the
  // file is missing (kExisting), cannot be opened or is no database; the
  // path goes into the context. A database with a write-ahead log is
  // guarded while open (sqlite_file_guard.h): no descriptor that something
  // else in the process opens and closes on its files can let another
  // process delete or rebuild them under this connection.
  static std::shared_ptr<Connection> Open(const std::string& path,
                                          OpenMode mode = OpenMode::kExisting);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  std::string TypeName() const override { return "Connection"; }
  virtual Backend GetBackend() const = 0;
  // What the connection reaches, for messages: the file path, or
  // "host:port/database" (never a password).
  const std::string& Path() const { return path_; }
  virtual bool IsOpen() const = 0;
  // Open and outside any transaction, so that another caller may start
  // afresh on it (a server connection that broke counts as neither).
  bool IsIdle() const { return IsOpen() && !InTransaction(); }
  // What callers learnt of the database through this connection that
  // stays true while it is open, by their own keys (a server keeps a
  // connection's schema shared, so nothing rebuilds it meanwhile).
  std::map<std::string, std::any>& Memo() { return memo_; }
  // Closes the connection; record sets read through it stay readable.
  // Closing twice is harmless.
  virtual void Close() = 0;

  // Runs a script of several statements (schema, data) in the backend's own
  // dialect (see postgres_dialect.h for scripts written once for both).
  // Raises 0x80040E14 with the engine's message when a statement fails.
  // On SQLite the statements before it stay done unless the script is in a
  // transaction; a PostgreSQL server runs a script as one transaction.
  // Raises 3704 when the connection is closed.
  virtual void ExecuteScript(const std::string& sql) = 0;

  // Runs exactly one statement with `parameters` bound to ?1..?n (the same
  // markers on every backend) and returns every row it gives, positioned on
  // the first row. Field names are the result's column names exactly as the
  // statement gives them ("Lead Time"; PostgreSQL folds unquoted names to
  // lower case, and fields are found by name without regard to case).
  // Field types follow the columns' types: money (CURRENCY, a server's
  // numeric) as Currency, whole numbers as Long (Double beyond 32 bits),
  // REAL as Double, text as String, DATE as Date, BOOLEAN as Boolean, NULL
  // as Null; computed columns of SQLite take the type of their values.
  // Raises 0x80040E14 when the text is not exactly one statement or the
  // engine refuses it, 3421 for a parameter of a type that cannot be bound
  // (an object), 3704 when the connection is closed, 0x80004005 when the
  // server goes away.
  // Text holding a zero character (a command or a parameter) is refused
  // with 3421 before it reaches the engine: one backend would keep it and
  // the other cut it short there.
  RecordSetRef Query(const std::string& sql, const std::vector<vb::Variant>& parameters = {}) {
    RefuseZeroCharacters(sql, parameters);
    return RunQuery(sql, parameters, {});
  }
  // The same, with `column_types` overriding the types of the columns it
  // names. Values that do not fit the given type raise 3421.
  RecordSetRef Query(const std::string& sql, const std::vector<vb::Variant>& parameters,
                     const ColumnTypes& column_types) {
    RefuseZeroCharacters(sql, parameters);
    return RunQuery(sql, parameters, column_types);
  }

  // Runs one statement that returns no rows and gives the number of rows it
  // changed. Errors as for Query.
  int64_t Execute(const std::string& sql, const std::vector<vb::Variant>& parameters = {}) {
    RefuseZeroCharacters(sql, parameters);
    return RunStatement(sql, parameters);
  }

  // How long a statement waits for a lock that another connection holds
  // before it fails with a LockConflict (data_errors.h): SQLite's busy
  // timeout, a server's lock timeout. Both start at kDefaultLockTimeoutMs.
  // Call it outside a transaction.
  static constexpr int kDefaultLockTimeoutMs = 5000;
  virtual void SetLockTimeout(int milliseconds) = 0;

  enum class TransactionLock {
    kDeferred,   // locks as the statements need it
    kWrite,      // SQLite: takes the write lock before the first read, so
                 // no other writer slips in between a check and its update;
                 // readers go on. A server locks what the statements touch.
    kExclusive,  // SQLite: locks every other connection out from the start;
                 // a server locks what the statements touch, as kDeferred
  };
  // Runs `work` in one transaction and commits it. When `work` or the
  // commit raises, the transaction is rolled back and the first failure
  // reaches the caller: after some failures (a full disk, an I/O error, a
  // server gone) the engine has already ended the transaction, and the
  // rollback must not hide why. Raises what BEGIN raises (a LockConflict,
  // 0x80040E14 "database is locked", when another connection holds a lock
  // that the transaction needs past the lock timeout).
  void RunInTransaction(const std::function<void()>& work,
                        TransactionLock lock = TransactionLock::kDeferred);

 protected:
  explicit Connection(std::string path) : path_(std::move(path)) {}
  // Raises 3704 (source "Connection") for a closed connection.
  [[noreturn]] void ThrowClosed() const;
  // Raises 3421 for a zero character in `sql` or a text parameter.
  static void RefuseZeroCharacters(const std::string& sql,
                                   const std::vector<vb::Variant>& parameters);

 private:
  // The statement that starts a transaction with `lock`.
  virtual const char* BeginText(TransactionLock lock) const = 0;
  // Whether a transaction is open (also one that a failed statement left
  // waiting for its rollback).
  virtual bool InTransaction() const = 0;
  virtual RecordSetRef RunQuery(const std::string& sql, const std::vector<vb::Variant>& parameters,
                                const ColumnTypes& column_types) = 0;
  virtual int64_t RunStatement(const std::string& sql,
                               const std::vector<vb::Variant>& parameters) = 0;

  std::string path_;
  std::map<std::string, std::any> memo_;
};

using ConnectionRef = std::shared_ptr<Connection>;

}  // namespace kvt::data
