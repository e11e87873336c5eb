// kvt::data::Connection — a connection to an SQLite database file that
// turns query results into RecordSets.
//
// Only this layer and services/ know the database engine; the header keeps
// its types out so that business code can hold a Connection in a Variant.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/data/record_set.h"
#include "platform/value/variant.h"

struct sqlite3;

namespace kvt::data {

class Connection : public vb::Object {
 public:
  // Types of result columns by exact name, for computed columns whose type
  // the engine cannot tell (a sum of amounts is still money).
  using ColumnTypes = std::vector<std::pair<std::string, DataType>>;

  enum class OpenMode {
    kExisting,  // the file must exist; it is never created
    kCreate,    // creates the file when missing (used to build databases)
  };

  // Opens the database file at `path` (":memory:" opens a private empty
  // database). Raises 0x80004005 with the engine's message when the file is
  // missing (kExisting), cannot be opened or is no database; the path goes
  // into the context.
  static std::shared_ptr<Connection> Open(const std::string& path,
                                          OpenMode mode = OpenMode::kExisting);
  ~Connection() override;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  std::string TypeName() const override { return "Connection"; }
  const std::string& Path() const { return path_; }
  bool IsOpen() const { return db_ != nullptr; }
  // Closes the connection; record sets read through it stay readable.
  // Closing twice is harmless.
  void Close();

  // Runs a script of several statements (schema, data). Raises 0x80040E14
  // with the engine's message when a statement fails; statements before it
  // stay done. Raises 3704 when the connection is closed.
  void ExecuteScript(const std::string& sql);

  // Runs exactly one statement with `parameters` bound to ?1..?n and returns
  // every row it gives, positioned on the first row. Field names are the
  // result's column names exactly as the statement gives them ("Lead
  // Time"); field types come from the columns' declared types (CURRENCY,
  // DATE, BOOLEAN, INTEGER, REAL, TEXT), and from the values themselves for
  // computed columns. Raises 0x80040E14 when the text is not exactly one
  // statement or the engine refuses it, 3421 for a parameter of a type that
  // cannot be bound (an object), 3704 when the connection is closed.
  RecordSetRef Query(const std::string& sql,
                     const std::vector<vb::Variant>& parameters = {});
  // The same, with `column_types` overriding the types of the columns it
  // names. Values that do not fit the given type raise 3421.
  RecordSetRef Query(const std::string& sql,
                     const std::vector<vb::Variant>& parameters,
                     const ColumnTypes& column_types);

  // Runs one statement that returns no rows and gives the number of rows it
  // changed. Errors as for Query.
  int64_t Execute(const std::string& sql,
                  const std::vector<vb::Variant>& parameters = {});

  enum class TransactionLock {
    kDeferred,   // locks as the statements need it
    kExclusive,  // locks every other connection out from the start
  };
  // Runs `work` in one transaction and commits it. When `work` or the
  // commit raises, the transaction is rolled back and the first failure
  // reaches the caller: after some failures (a full disk, an I/O error) the
  // engine has already ended the transaction, and the rollback must not
  // hide why. Raises what BEGIN raises (0x80040E14 "database is locked"
  // when another connection holds a lock that the transaction needs).
  void RunInTransaction(const std::function<void()>& work,
                        TransactionLock lock = TransactionLock::kDeferred);

 private:
  Connection(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  sqlite3* Handle() const;

  sqlite3* db_;
  std::string path_;
};

using ConnectionRef = std::shared_ptr<Connection>;

}  // namespace kvt::data
