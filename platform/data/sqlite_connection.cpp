// The SQLite backend of kvt::data::Connection.
#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>

#include "platform/data/connection.h"
#include "platform/data/data_errors.h"
#include "platform/data/result_rows.h"
#include "platform/data/sqlite_file_guard.h"
#include "platform/data/sqlite_write_queue.h"
#include "platform/value/conversions.h"
#include "platform/value/text.h"

namespace kvt::data {

namespace {

using detail::Cell;
using detail::CellRows;
using detail::InferType;
using detail::WholeNumberType;

// The engine's failure `code` (with its message) as the error to raise: a
// lock another connection held past the busy timeout may pass when tried
// again.
[[noreturn]] void ThrowFailure(int code, std::string message, std::string context) {
  const int primary = code & 0xff;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
    throw LockConflict(std::move(message), std::move(context));
  }
  throw CommandError(std::move(message), std::move(context));
}

// One prepared statement, finalised on every path out.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) {
      std::string message = sqlite3_errmsg(db);
      sqlite3_finalize(stmt_);
      ThrowFailure(rc, message, sql);
    }
    // A second statement in the text would silently never run; refuse it.
    for (; tail != nullptr && *tail != '\0'; ++tail) {
      if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
        sqlite3_finalize(stmt_);
        throw CommandError("The command text holds more than one statement.", sql);
      }
    }
    if (stmt_ == nullptr) throw CommandError("The command text is empty.", sql);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

void Bind(sqlite3_stmt* stmt, int slot, const vb::Variant& value, const std::string& sql) {
  int rc = SQLITE_OK;
  if (value.IsNull() || value.IsEmpty()) {
    rc = sqlite3_bind_null(stmt, slot);
  } else if (const auto* text = value.get_if<std::string>()) {
    rc = sqlite3_bind_text(stmt, slot, text->c_str(), static_cast<int>(text->size()),
                           SQLITE_TRANSIENT);
  } else if (const auto* flag = value.get_if<bool>()) {
    rc = sqlite3_bind_int(stmt, slot, *flag ? 1 : 0);
  } else if (const auto* date = value.get_if<vb::Date>()) {
    const std::string iso = detail::IsoDateText(*date);
    rc = sqlite3_bind_text(stmt, slot, iso.c_str(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
  } else if (const auto* money = value.get_if<vb::Currency>()) {
    rc = sqlite3_bind_double(stmt, slot, money->ToDouble());
  } else if (value.get_if<double>() || value.get_if<float>()) {
    rc = sqlite3_bind_double(stmt, slot, vb::CDbl(value));
  } else if (value.IsNumber()) {
    rc = sqlite3_bind_int64(stmt, slot, vb::CLng(value));
  } else {
    throw WrongTypeError("parameter " + std::to_string(slot) + " of type " + value.TypeName());
  }
  if (rc != SQLITE_OK) {
    throw CommandError(sqlite3_errstr(rc), sql);
  }
}

Cell ReadCell(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return sqlite3_column_int64(stmt, column);
    case SQLITE_FLOAT: return sqlite3_column_double(stmt, column);
    case SQLITE_NULL: return std::monostate{};
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      const int size = sqlite3_column_bytes(stmt, column);
      return std::string(text ? text : "", static_cast<size_t>(size));
    }
  }
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

DataType ColumnType(const char* declared, const CellRows& rows, size_t column) {
  const std::string decl = vb::UCase(declared ? declared : "");
  if (Contains(decl, "CURRENCY") || Contains(decl, "MONEY")) {
    return DataType::kCurrency;
  }
  if (Contains(decl, "DATE") || Contains(decl, "TIME")) return DataType::kDate;
  if (Contains(decl, "BOOL")) return DataType::kBoolean;
  if (Contains(decl, "INT")) {
    // An INTEGER column holding values beyond 32 bits reads as Double.
    return WholeNumberType(rows, column);
  }
  if (Contains(decl, "CHAR") || Contains(decl, "TEXT") || Contains(decl, "CLOB")) {
    return DataType::kVarWChar;
  }
  if (Contains(decl, "REAL") || Contains(decl, "FLOA") || Contains(decl, "DOUB")) {
    return DataType::kDouble;
  }
  return InferType(rows, column);
}

// Waits for another connection's lock in short steps (1, 2, 4, then 10 ms)
// until the lock timeout has passed. The engine's own busy timeout sleeps
// longer the longer it waits, up to 100 ms a time, so with several writers
// at once a clerk who came first waited up to a second while later ones
// went ahead (the load test's p99 halves).
class BusyWait {
 public:
  static int Handler(void* self, int count) { return static_cast<BusyWait*>(self)->Wait(count); }
  int timeout_ms = Connection::kDefaultLockTimeoutMs;

 private:
  int Wait(int count) {
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) start_ = now;
    if (now - start_ >= std::chrono::milliseconds(timeout_ms)) return 0;
    sqlite3_sleep(count < 3 ? 1 << count : 10);
    return 1;
  }
  std::chrono::steady_clock::time_point start_;
};

class SqliteConnection final : public Connection {
 public:
  SqliteConnection(sqlite3* db, std::string path, detail::SqliteFileGuard guard)
      : Connection(std::move(path)), db_(db), guard_(std::move(guard)) {
    sqlite3_busy_handler(db_, &BusyWait::Handler, &busy_);
    struct stat info {};
    if (::stat(Path().c_str(), &info) == 0) {
      device_ = info.st_dev;
      inode_ = info.st_ino;
    }
  }
  ~SqliteConnection() override { Close(); }

  Backend GetBackend() const override { return Backend::kSQLite; }
  bool IsOpen() const override { return db_ != nullptr; }
  void Close() override {
    turn_.Release();
    if (db_ != nullptr) {
      // First, so that the last connection of all may checkpoint the log.
      guard_.Release();
      sqlite3_close_v2(db_);
      db_ = nullptr;
      guard_.Forget();
    }
  }
  void ExecuteScript(const std::string& sql) override;
  void SetLockTimeout(int milliseconds) override {
    busy_.timeout_ms = milliseconds;
    sqlite3_busy_handler(Handle(), &BusyWait::Handler, &busy_);
  }

 private:
  const char* BeginText(TransactionLock lock) const override {
    switch (lock) {
      case TransactionLock::kWrite: return "BEGIN IMMEDIATE";
      case TransactionLock::kExclusive: return "BEGIN EXCLUSIVE";
      default: return "BEGIN";
    }
  }
  bool InTransaction() const override { return sqlite3_get_autocommit(Handle()) == 0; }
  RecordSetRef RunQuery(const std::string& sql, const std::vector<vb::Variant>& parameters,
                        const ColumnTypes& column_types) override;
  int64_t RunStatement(const std::string& sql, const std::vector<vb::Variant>& parameters) override;
  sqlite3* Handle() const {
    if (db_ == nullptr) ThrowClosed();
    return db_;
  }

  // A write transaction begun waits for its turn among the file's writers
  // (sqlite_write_queue.h); the turn is handed on once no transaction is
  // open any more, however it ended.
  void TakeTurnFor(const std::string& sql) {
    if (inode_ == 0 || turn_.Held()) return;
    if (sql == BeginText(TransactionLock::kWrite) ||
        sql == BeginText(TransactionLock::kExclusive)) {
      turn_ = detail::WriteTurn::Take(device_, inode_, busy_.timeout_ms);
    }
  }
  void HandOnTurn() {
    if (turn_.Held() && (db_ == nullptr || sqlite3_get_autocommit(db_) != 0)) turn_.Release();
  }

  sqlite3* db_;
  detail::SqliteFileGuard guard_;
  BusyWait busy_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  detail::WriteTurn turn_;
};

// Whether the open database keeps a write-ahead log.
bool UsesWriteAheadLog(sqlite3* db) {
  bool wal = false;
  sqlite3_exec(
      db, "PRAGMA journal_mode",
      [](void* found, int, char** values, char**) {
        *static_cast<bool*>(found) = values[0] != nullptr && sqlite3_stricmp(values[0], "wal") == 0;
        return 0;
      },
      &wal, nullptr);
  return wal;
}

}  // namespace

namespace {

// The engine's handle on `path` with the schema read; nullptr and the
// failure in `rc` and `message` otherwise.
sqlite3* OpenHandle(const std::string& name, int flags, int& rc, std::string& message) {
  sqlite3* db = nullptr;
  rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, Connection::kDefaultLockTimeoutMs);
    // The engine opens any file lazily; reading the schema now makes a
    // file that is no database fail at connection time, as a wrong path
    // does.
    rc = sqlite3_exec(db, "PRAGMA foreign_keys = ON; SELECT 1 FROM sqlite_master", nullptr, nullptr,
                      nullptr);
    if (rc == SQLITE_OK) return db;
    rc = sqlite3_extended_errcode(db);
  }
  message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  sqlite3_close(db);
  return nullptr;
}

// A database with a write-ahead log in a folder that takes no new file
// cannot even be read as it is: the engine makes the log's files first.
// With no log there, nobody can have written past the database file
// itself (no writer could make the log either), so it is read as a file
// that does not change.
bool NeedsUnchangingRead(const std::string& path, int rc) {
  const int primary = rc & 0xff;
  if (primary != SQLITE_READONLY && primary != SQLITE_CANTOPEN) return false;
  std::error_code ignored;
  std::filesystem::path folder = std::filesystem::absolute(path, ignored).parent_path();
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) != 0 &&
         !std::filesystem::exists(path + "-wal", ignored);
}

std::string UnchangingUri(const std::string& path) {
  std::string uri = "file:";
  for (const unsigned char c : std::filesystem::absolute(path).string()) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
      uri += static_cast<char>(c);
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      uri += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return uri + "?immutable=1";
}

}  // namespace

std::shared_ptr<Connection> Connection::Open(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::kAlone && detail::DatabaseInUse(path)) {
    throw LockConflict("Another program has the database open.", path);
  }
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (mode == OpenMode::kCreate) flags |= SQLITE_OPEN_CREATE;
  int rc = SQLITE_OK;
  std::string message;
  sqlite3* db = OpenHandle(path, flags, rc, message);
  if (db == nullptr && path != ":memory:" && NeedsUnchangingRead(path, rc)) {
    std::string ignored;
    db = OpenHandle(UnchangingUri(path),
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, rc, ignored);
  }
  if (db == nullptr) throw ProviderError(message, path);
  detail::SqliteFileGuard guard;
  if (path != ":memory:") guard = detail::SqliteFileGuard(path, UsesWriteAheadLog(db));
  return std::make_shared<SqliteConnection>(db, path, std::move(guard));
}

void SqliteConnection::ExecuteScript(const std::string& sql) {
  sqlite3* db = Handle();
  TakeTurnFor(sql);
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  HandOnTurn();
  if (rc != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    ThrowFailure(rc, text, "script");
  }
}

RecordSetRef SqliteConnection::RunQuery(const std::string& sql,
                                        const std::vector<vb::Variant>& parameters,
                                        const ColumnTypes& column_types) {
  sqlite3* db = Handle();
  Statement statement(db, sql);
  sqlite3_stmt* stmt = statement.get();
  for (size_t i = 0; i < parameters.size(); ++i) {
    Bind(stmt, static_cast<int>(i + 1), parameters[i], sql);
  }
  const int columns = sqlite3_column_count(stmt);
  CellRows rows;
  for (;;) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) ThrowFailure(rc, sqlite3_errmsg(db), sql);
    std::vector<Cell> row;
    row.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(ReadCell(stmt, c));
    rows.push_back(std::move(row));
  }

  std::vector<detail::ResultColumn> result_columns;
  for (int c = 0; c < columns; ++c) {
    const char* name = sqlite3_column_name(stmt, c);
    result_columns.push_back({name ? name : "", ColumnType(sqlite3_column_decltype(stmt, c), rows,
                                                           static_cast<size_t>(c))});
  }
  return detail::BuildRecordSet(std::move(result_columns), rows, column_types);
}

int64_t SqliteConnection::RunStatement(const std::string& sql,
                                       const std::vector<vb::Variant>& parameters) {
  sqlite3* db = Handle();
  Statement statement(db, sql);
  for (size_t i = 0; i < parameters.size(); ++i) {
    Bind(statement.get(), static_cast<int>(i + 1), parameters[i], sql);
  }
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = sqlite3_step(statement.get());
  HandOnTurn();
  if (rc != SQLITE_DONE) ThrowFailure(rc, sqlite3_errmsg(db), sql);
  return sqlite3_changes64(db);
}

}  // namespace kvt::data
