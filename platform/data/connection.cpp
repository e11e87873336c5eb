#include "platform/data/connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <variant>

#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/locale.h"
#include "platform/value/number_text.h"

namespace kvt::data {

namespace {

// One prepared statement, finalised on every path out.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()),
                           &stmt_, &tail) != SQLITE_OK) {
      std::string message = sqlite3_errmsg(db);
      sqlite3_finalize(stmt_);
      throw CommandError(message, sql);
    }
    // A second statement in the text would silently never run; refuse it.
    for (; tail != nullptr && *tail != '\0'; ++tail) {
      if (!std::isspace(static_cast<unsigned char>(*tail)) && *tail != ';') {
        sqlite3_finalize(stmt_);
        throw CommandError("The command text holds more than one statement.",
                           sql);
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

std::string IsoDateText(const vb::Date& date) {
  std::string text = vb::ZeroPadded(date.Year(), 4) + "-" +
                     vb::ZeroPadded(date.Month(), 2) + "-" +
                     vb::ZeroPadded(date.Day(), 2);
  if (date.HasTime()) {
    text += " " + vb::ZeroPadded(date.Hour(), 2) + ":" +
            vb::ZeroPadded(date.Minute(), 2) + ":" +
            vb::ZeroPadded(date.Second(), 2);
  }
  return text;
}

void Bind(sqlite3_stmt* stmt, int slot, const vb::Variant& value,
          const std::string& sql) {
  int rc = SQLITE_OK;
  if (value.IsNull() || value.IsEmpty()) {
    rc = sqlite3_bind_null(stmt, slot);
  } else if (const auto* text = value.get_if<std::string>()) {
    rc = sqlite3_bind_text(stmt, slot, text->c_str(),
                           static_cast<int>(text->size()), SQLITE_TRANSIENT);
  } else if (const auto* flag = value.get_if<bool>()) {
    rc = sqlite3_bind_int(stmt, slot, *flag ? 1 : 0);
  } else if (const auto* date = value.get_if<vb::Date>()) {
    const std::string iso = IsoDateText(*date);
    rc = sqlite3_bind_text(stmt, slot, iso.c_str(),
                           static_cast<int>(iso.size()), SQLITE_TRANSIENT);
  } else if (const auto* money = value.get_if<vb::Currency>()) {
    rc = sqlite3_bind_double(stmt, slot, money->ToDouble());
  } else if (value.get_if<double>() || value.get_if<float>()) {
    rc = sqlite3_bind_double(stmt, slot, vb::CDbl(value));
  } else if (value.IsNumber()) {
    rc = sqlite3_bind_int64(stmt, slot, vb::CLng(value));
  } else {
    throw WrongTypeError("parameter " + std::to_string(slot) + " of type " +
                         value.TypeName());
  }
  if (rc != SQLITE_OK) {
    throw CommandError(sqlite3_errstr(rc), sql);
  }
}

using Cell = std::variant<std::monostate, int64_t, double, std::string>;

Cell ReadCell(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return sqlite3_column_int64(stmt, column);
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt, column);
    case SQLITE_NULL:
      return std::monostate{};
    default: {
      const auto* text =
          reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      const int size = sqlite3_column_bytes(stmt, column);
      return std::string(text ? text : "", static_cast<size_t>(size));
    }
  }
}

std::string Upper(const char* text) {
  std::string result = text ? text : "";
  for (char& c : result) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return result;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool FitsLong(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

// The type a column's values suggest, for computed columns without a
// declared type.
DataType InferType(const std::vector<std::vector<Cell>>& rows, size_t column) {
  bool any_value = false, any_text = false, any_real = false, wide = false;
  for (const auto& row : rows) {
    const Cell& cell = row[column];
    if (std::holds_alternative<std::monostate>(cell)) continue;
    any_value = true;
    if (std::holds_alternative<std::string>(cell)) any_text = true;
    if (std::holds_alternative<double>(cell)) any_real = true;
    if (const auto* number = std::get_if<int64_t>(&cell)) {
      if (!FitsLong(*number)) wide = true;
    }
  }
  if (!any_value) return DataType::kVariant;
  if (any_text) return DataType::kVarWChar;
  if (any_real || wide) return DataType::kDouble;
  return DataType::kInteger;
}

DataType ColumnType(const char* declared,
                    const std::vector<std::vector<Cell>>& rows, size_t column) {
  const std::string decl = Upper(declared);
  if (Contains(decl, "CURRENCY") || Contains(decl, "MONEY")) {
    return DataType::kCurrency;
  }
  if (Contains(decl, "DATE") || Contains(decl, "TIME")) return DataType::kDate;
  if (Contains(decl, "BOOL")) return DataType::kBoolean;
  if (Contains(decl, "INT")) {
    // An INTEGER column holding values beyond 32 bits reads as Double.
    return InferType(rows, column) == DataType::kDouble ? DataType::kDouble
                                                        : DataType::kInteger;
  }
  if (Contains(decl, "CHAR") || Contains(decl, "TEXT") ||
      Contains(decl, "CLOB")) {
    return DataType::kVarWChar;
  }
  if (Contains(decl, "REAL") || Contains(decl, "FLOA") ||
      Contains(decl, "DOUB")) {
    return DataType::kDouble;
  }
  return InferType(rows, column);
}

vb::Variant ToVariant(const Cell& cell, DataType type,
                      const std::string& name) {
  if (std::holds_alternative<std::monostate>(cell)) return vb::Variant::Null();
  vb::Variant raw;
  if (const auto* number = std::get_if<int64_t>(&cell)) {
    if (type == DataType::kCurrency) {
      return vb::Variant(vb::Currency::FromInt(*number));
    }
    if (type == DataType::kBoolean) return vb::Variant(*number != 0);
    raw = FitsLong(*number) ? vb::Variant(static_cast<int32_t>(*number))
                            : vb::Variant(static_cast<double>(*number));
  } else if (const auto* real = std::get_if<double>(&cell)) {
    raw = vb::Variant(*real);
  } else {
    const std::string& text = std::get<std::string>(cell);
    if (type == DataType::kDate) {
      // Stored dates are ISO text whatever the session's locale is.
      if (auto date = vb::Date::Parse(text, vb::Locale::Active())) {
        return vb::Variant(*date);
      }
    }
    if (type == DataType::kCurrency) {
      try {
        return vb::Variant(vb::Currency::FromDecimalText(text));
      } catch (const vb::Error&) {
        // Fall through to the general conversion below.
      }
    }
    raw = vb::Variant(text);
  }
  if (type == DataType::kDate && raw.IsNumber()) {
    return vb::Variant(vb::Date::FromSerial(vb::CDbl(raw)));
  }
  return ConvertForField(type, raw, name);
}

}  // namespace

std::shared_ptr<Connection> Connection::Open(const std::string& path,
                                             OpenMode mode) {
  sqlite3* db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (mode == OpenMode::kCreate) flags |= SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw ProviderError(message, path);
  }
  sqlite3_busy_timeout(db, 5000);
  // The engine opens any file lazily; reading the schema now makes a file
  // that is no database fail at connection time, as a wrong path does.
  if (sqlite3_exec(db, "PRAGMA foreign_keys = ON; SELECT 1 FROM sqlite_master",
                   nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::string message = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw ProviderError(message, path);
  }
  return std::shared_ptr<Connection>(new Connection(db, path));
}

Connection::~Connection() { Close(); }

void Connection::Close() {
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

sqlite3* Connection::Handle() const {
  if (db_ == nullptr) {
    vb::Error closed = ObjectClosedError(path_);
    throw vb::Error(closed.number(), kConnectionSource, closed.description(),
                    closed.context());
  }
  return db_;
}

void Connection::ExecuteScript(const std::string& sql) {
  sqlite3* db = Handle();
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw CommandError(text, "script");
  }
}

void Connection::RunInTransaction(const std::function<void()>& work,
                                  TransactionLock lock) {
  ExecuteScript(lock == TransactionLock::kExclusive ? "BEGIN EXCLUSIVE" : "BEGIN");
  try {
    work();
    ExecuteScript("COMMIT");
  } catch (...) {
    // The rollback's own failure is never the news.
    if (db_ != nullptr && sqlite3_get_autocommit(db_) == 0) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    throw;
  }
}

RecordSetRef Connection::Query(const std::string& sql,
                               const std::vector<vb::Variant>& parameters) {
  return Query(sql, parameters, {});
}

RecordSetRef Connection::Query(const std::string& sql,
                               const std::vector<vb::Variant>& parameters,
                               const ColumnTypes& column_types) {
  sqlite3* db = Handle();
  Statement statement(db, sql);
  sqlite3_stmt* stmt = statement.get();
  for (size_t i = 0; i < parameters.size(); ++i) {
    Bind(stmt, static_cast<int>(i + 1), parameters[i], sql);
  }
  const int columns = sqlite3_column_count(stmt);
  std::vector<std::vector<Cell>> rows;
  for (;;) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) throw CommandError(sqlite3_errmsg(db), sql);
    std::vector<Cell> row;
    row.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(ReadCell(stmt, c));
    rows.push_back(std::move(row));
  }

  auto result = std::make_shared<RecordSet>();
  std::vector<DataType> types;
  for (int c = 0; c < columns; ++c) {
    const char* name = sqlite3_column_name(stmt, c);
    types.push_back(ColumnType(sqlite3_column_decltype(stmt, c), rows,
                               static_cast<size_t>(c)));
    for (const auto& [column, type] : column_types) {
      if (name != nullptr && column == name) types.back() = type;
    }
    // A result may repeat a column name; the later one gets a suffix so the
    // set stays addressable by name (the first keeps its exact name).
    std::string field_name = name ? name : "";
    if (field_name.empty() || result->Fields().IndexOf(field_name) >= 0) {
      field_name += "_" + std::to_string(c);
    }
    result->Fields().Append(field_name, types.back());
  }
  result->Open();
  for (const auto& row : rows) {
    std::vector<vb::Variant> values;
    values.reserve(row.size());
    for (size_t c = 0; c < row.size(); ++c) {
      values.push_back(ToVariant(
          row[c], types[c], result->Fields().Item(static_cast<int>(c)).Name()));
    }
    result->AppendRow(std::move(values));
  }
  result->MoveFirst();
  return result;
}

int64_t Connection::Execute(const std::string& sql,
                            const std::vector<vb::Variant>& parameters) {
  sqlite3* db = Handle();
  Statement statement(db, sql);
  for (size_t i = 0; i < parameters.size(); ++i) {
    Bind(statement.get(), static_cast<int>(i + 1), parameters[i], sql);
  }
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = sqlite3_step(statement.get());
  if (rc != SQLITE_DONE) throw CommandError(sqlite3_errmsg(db), sql);
  return sqlite3_changes64(db);
}

}  // namespace kvt::data
