// The PostgreSQL backend of kvt::data::Connection, over libpq. Values
// travel as text both ways; their types come from the parameters' subtypes
// and the result columns' type numbers.
#include "platform/data/postgres_connection.h"

#include <libpq-fe.h>

#include <charconv>
#include <chrono>
#include <memory>
#include <string_view>
#include <thread>

#include "platform/data/data_errors.h"
#include "platform/data/postgres_dialect.h"
#include "platform/data/result_rows.h"
#include "platform/value/conversions.h"

namespace kvt::data {

namespace {

using detail::Cell;
using detail::CellRows;

// Type numbers of the server's built-in types (they never change).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kDate = 1082, kTime = 1083, kTimestamp = 1114, kTimestampTz = 1184,
              kNumeric = 1700;

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

// libpq's messages end in a newline and may continue on indented lines.
std::string OneLine(const char* message) {
  std::string text;
  bool blank = false;
  for (const char* c = message ? message : ""; *c != '\0'; ++c) {
    if (*c == '\n' || *c == '\t' || *c == '\r' || *c == ' ') {
      blank = !text.empty();
      continue;
    }
    if (blank) text += ' ';
    blank = false;
    text += *c;
  }
  return text;
}

// The server's conditions (SQLSTATE) for a statement that lost to another
// session: a lock held past lock_timeout, a deadlock the server broke by
// failing this side, a serialisation conflict. Run again, the work may pass.
bool IsLockConflict(const char* state) {
  if (state == nullptr) return false;
  const std::string_view code(state);
  return code == "55P03" || code == "40P01" || code == "40001";
}

// Text and type of one bound parameter; Null travels as no text at all.
struct BoundValue {
  Oid type = 0;  // 0: the server infers it from where the value is used
  bool is_null = false;
  std::string text;
};

std::string DoubleText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

BoundValue Bind(const vb::Variant& value, size_t slot) {
  BoundValue bound;
  if (value.IsNull() || value.IsEmpty()) {
    bound.is_null = true;
  } else if (const auto* text = value.get_if<std::string>()) {
    bound.text = *text;  // untyped, as a quoted literal would be
  } else if (const auto* flag = value.get_if<bool>()) {
    bound = {kBool, false, *flag ? "t" : "f"};
  } else if (const auto* date = value.get_if<vb::Date>()) {
    bound = {date->HasTime() ? kTimestamp : kDate, false, detail::IsoDateText(*date)};
  } else if (const auto* money = value.get_if<vb::Currency>()) {
    bound = {kNumeric, false, money->ToDecimalText()};
  } else if (value.get_if<double>() || value.get_if<float>()) {
    bound = {kFloat8, false, DoubleText(vb::CDbl(value))};
  } else if (value.IsNumber()) {
    bound = {kInt4, false, std::to_string(vb::CLng(value))};
  } else {
    throw WrongTypeError("parameter " + std::to_string(slot) + " of type " + value.TypeName());
  }
  return bound;
}

Cell ReadCell(const PGresult* result, int row, int column, Oid type) {
  if (PQgetisnull(result, row, column)) return std::monostate{};
  const char* text = PQgetvalue(result, row, column);
  const char* end = text + PQgetlength(result, row, column);
  switch (type) {
    case kBool: return int64_t{*text == 't' ? 1 : 0};
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: {
      int64_t number = 0;
      if (std::from_chars(text, end, number).ec == std::errc()) return number;
      break;
    }
    case kFloat4:
    case kFloat8: {
      double number = 0;
      const auto parsed = std::from_chars(text, end, number);
      if (parsed.ec == std::errc() && parsed.ptr == end) return number;
      break;  // NaN and Infinity stay text, which no Double field takes
    }
    default: break;
  }
  return std::string(text, end);
}

DataType ColumnType(Oid type, const CellRows& rows, size_t column) {
  switch (type) {
    case kBool: return DataType::kBoolean;
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: return detail::WholeNumberType(rows, column);
    case kFloat4:
    case kFloat8: return DataType::kDouble;
    case kNumeric:  // money columns are numeric(19,4) (the CURRENCY domain)
      return DataType::kCurrency;
    case kDate:
    case kTime:
    case kTimestamp:
    case kTimestampTz: return DataType::kDate;
    default: return DataType::kVarWChar;
  }
}

class PostgresConnection final : public Connection {
 public:
  PostgresConnection(PGconn* connection, std::string target)
      : Connection(std::move(target)), connection_(connection) {}
  ~PostgresConnection() override { Close(); }

  Backend GetBackend() const override { return Backend::kPostgreSQL; }
  bool IsOpen() const override { return connection_ != nullptr; }
  void Close() override {
    if (connection_ != nullptr) {
      PQfinish(connection_);
      connection_ = nullptr;
    }
  }
  void ExecuteScript(const std::string& sql) override {
    Checked(PQexec(Handle(), sql.c_str()), "script");
  }
  void SetLockTimeout(int milliseconds) override {
    Run("SET lock_timeout = " + std::to_string(milliseconds), {});
  }

 private:
  // The server locks the rows and tables the statements touch; dropping a
  // schema, for one, waits for every other session that uses it.
  const char* BeginText(TransactionLock) const override { return "BEGIN"; }
  bool InTransaction() const override { return PQtransactionStatus(Handle()) != PQTRANS_IDLE; }
  PGconn* Handle() const {
    if (connection_ == nullptr) ThrowClosed();
    return connection_;
  }

  // `result` when the statement succeeded; otherwise raises the server's
  // message: 0x80004005 when the connection is gone (the server rolls back
  // what the session had not committed), a LockConflict when another
  // session was in the way, 0x80040E14 for anything else.
  Result Checked(PGresult* raw, const std::string& context) {
    Result result(raw, &PQclear);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
      return result;
    }
    if (status == PGRES_EMPTY_QUERY) {
      throw CommandError("The command text is empty.", context);
    }
    const char* primary =
        result ? PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const std::string message = OneLine(primary ? primary : PQerrorMessage(connection_));
    if (PQstatus(connection_) != CONNECTION_OK) {
      throw ProviderError(message, Path() + ": " + context);
    }
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    if (IsLockConflict(state)) throw LockConflict(message, context);
    if (state != nullptr && std::string_view(state) == "42501") {
      throw PermissionDenied(message, context);
    }
    if (state != nullptr && std::string_view(state).substr(0, 2) == "KV") {
      throw RuleRefusal(message, context);
    }
    throw CommandError(message, context);
  }

  Result Run(const std::string& sql, const std::vector<vb::Variant>& parameters) {
    PGconn* connection = Handle();
    std::vector<BoundValue> bound;
    bound.reserve(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) {
      bound.push_back(Bind(parameters[i], i + 1));
    }
    std::vector<Oid> types;
    std::vector<const char*> values;
    for (const BoundValue& value : bound) {
      types.push_back(value.type);
      values.push_back(value.is_null ? nullptr : value.text.c_str());
    }
    // The extended protocol runs exactly one statement: a second one in
    // the text is refused by the server, and nothing runs.
    return Checked(
        PQexecParams(connection, PostgresPlaceholders(sql).c_str(), static_cast<int>(bound.size()),
                     types.data(), values.data(), nullptr, nullptr, 0),
        sql);
  }

  RecordSetRef RunQuery(const std::string& sql, const std::vector<vb::Variant>& parameters,
                        const ColumnTypes& column_types) override {
    const Result result = Run(sql, parameters);
    const int columns = PQnfields(result.get());
    const int row_count = PQntuples(result.get());
    CellRows rows(static_cast<size_t>(row_count));
    for (int r = 0; r < row_count; ++r) {
      auto& row = rows[static_cast<size_t>(r)];
      row.reserve(static_cast<size_t>(columns));
      for (int c = 0; c < columns; ++c) {
        row.push_back(ReadCell(result.get(), r, c, PQftype(result.get(), c)));
      }
    }
    std::vector<detail::ResultColumn> result_columns;
    for (int c = 0; c < columns; ++c) {
      result_columns.push_back({PQfname(result.get(), c), ColumnType(PQftype(result.get(), c), rows,
                                                                     static_cast<size_t>(c))});
    }
    return detail::BuildRecordSet(std::move(result_columns), rows, column_types);
  }

  int64_t RunStatement(const std::string& sql,
                       const std::vector<vb::Variant>& parameters) override {
    const Result result = Run(sql, parameters);
    const char* count = PQcmdTuples(result.get());
    int64_t changed = 0;
    std::from_chars(count, count + std::char_traits<char>::length(count), changed);
    return changed;
  }

  PGconn* connection_;

 public:
  std::string PasswordVerifier(const std::string& user, const std::string& password) const {
    char* verifier =
        PQencryptPasswordConn(Handle(), password.c_str(), user.c_str(), "scram-sha-256");
    if (verifier == nullptr) throw ProviderError(OneLine(PQerrorMessage(Handle())), Path());
    std::string text(verifier);
    PQfreemem(verifier);
    return text;
  }
};

// The advisory lock that stands for the session's schema: a class of our
// own ("KVT") and the hash of the schema's name.
constexpr char kSchemaLockKey[] = "4937300, hashtext(COALESCE(current_schema(), ''))";

// The libpq "options" value: session settings, with blanks and
// backslashes in values escaped as libpq reads them. No parallel workers:
// a list reads one page newest first, and workers, planned where the
// server guesses the rows it wants are spread over the years (the open
// orders are the recent ones), walk the whole history instead of stopping
// at the page.
std::string SessionOptions(const std::string& schema) {
  std::string options =
      "-c DateStyle=ISO,YMD -c extra_float_digits=3 -c max_parallel_workers_per_gather=0 "
      "-c lock_timeout=" +
      std::to_string(Connection::kDefaultLockTimeoutMs);
  if (schema.empty()) return options;
  std::string path = "\"";
  for (char c : schema) {
    if (c == '"') path += '"';
    if (c == ' ' || c == '\\') path += '\\';
    path += c;
  }
  return options + " -c search_path=" + path + "\"";
}

}  // namespace

ConnectionRef OpenPostgres(const PostgresServer& server) {
  const std::string target = (server.host.empty() ? "localhost" : server.host) + ":" +
                             (server.port.empty() ? "5432" : server.port) + "/" + server.database +
                             (server.schema.empty() ? "" : "." + server.schema);
  const std::string timeout =
      std::to_string(server.connect_timeout_seconds > 0 ? server.connect_timeout_seconds : 15);
  const std::pair<const char*, std::string> settings[] = {
      {"host", server.host},
      {"port", server.port},
      {"dbname", server.database},
      {"user", server.user},
      {"password", server.password},
      {"connect_timeout", timeout},
      {"client_encoding", "UTF8"},
      {"application_name", "KvtSuppliers"},
      {"options", SessionOptions(server.schema)},
  };
  std::vector<const char*> keys, values;
  for (const auto& [key, value] : settings) {
    if (value.empty()) continue;
    keys.push_back(key);
    values.push_back(value.c_str());
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);

  PGconn* connection = PQconnectdbParams(keys.data(), values.data(), 0);
  if (connection == nullptr) {
    throw ProviderError("Out of memory.", target);
  }
  if (PQstatus(connection) != CONNECTION_OK) {
    const std::string message = OneLine(PQerrorMessage(connection));
    // The server's wording is all libpq gives for a refused login.
    const bool refused = message.find("authentication failed") != std::string::npos ||
                         message.find("no password supplied") != std::string::npos;
    PQfinish(connection);
    if (refused) throw LoginRefused(message, target);
    throw ProviderError(message, target);
  }
  // The server's notices (a table that was not there to drop) are no
  // failures and have no reader here.
  PQsetNoticeProcessor(
      connection, [](void*, const char*) {}, nullptr);
  auto opened = std::make_shared<PostgresConnection>(connection, target);
  // Without waiting: a schema being rebuilt refuses the session's first
  // statement anyway.
  opened->Query(std::string("SELECT pg_try_advisory_lock_shared(") + kSchemaLockKey + ")");
  return opened;
}

bool HoldSchemaAlone(Connection& connection) {
  // The session's own shared hold never stands in its way. A session that
  // has just closed keeps its share until its server process has ended, a
  // moment after the client let go: asked again for half a second.
  const std::string sql = std::string("SELECT pg_try_advisory_lock(") + kSchemaLockKey + ")";
  for (int attempt = 0;; ++attempt) {
    if (vb::CBool(connection.Query(sql)->Item(0).Value())) return true;
    if (attempt == 50) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string PostgresPasswordVerifier(Connection& connection, const std::string& user,
                                     const std::string& password) {
  auto* server = dynamic_cast<PostgresConnection*>(&connection);
  if (server == nullptr) throw ProviderError("Not a PostgreSQL connection.", connection.Path());
  return server->PasswordVerifier(user, password);
}

}  // namespace kvt::data
