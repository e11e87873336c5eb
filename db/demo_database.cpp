#include "db/demo_database.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/embedded_sql.h"
#include "platform/data/connection.h"
#include "platform/data/data_errors.h"
#include "platform/data/postgres_connection.h"
#include "platform/data/postgres_dialect.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::db {

namespace {

constexpr char kSource[] = "Database";

void RemoveDatabaseFiles(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
    std::filesystem::remove(path + suffix, ignored);
  }
}

// Drops and makes anew the schema the connection works in.
constexpr char kResetPostgresSchema[] = R"sql(
DO $$
DECLARE
  target text := current_schema();
BEGIN
  IF target IS NULL THEN
    RAISE EXCEPTION 'the connection has no schema to build in';
  END IF;
  EXECUTE format('DROP SCHEMA %I CASCADE', target);
  EXECUTE format('CREATE SCHEMA %I', target);
  -- As the server's own public schema: every login may look in.
  EXECUTE format('GRANT USAGE ON SCHEMA %I TO PUBLIC', target);
END
$$;
)sql";

}  // namespace

std::string AccessScript(data::Backend backend) {
  if (backend == data::Backend::kSQLite) return std::string(AccessSchemaSql()) + AccessSqliteSql();
  return data::PortableToPostgres(AccessSchemaSql()) + AccessFunctionsPostgresSql() +
         AccessPostgresSql() + LoginLocksPostgresSql() + ServerLogPostgresSql() +
         PostingPostgresSql();
}

std::string LoginLocksScript() { return LoginLocksPostgresSql(); }

std::string ServerLogScript() { return ServerLogPostgresSql(); }

std::string PostingFunctionsScript() {
  return std::string(AccessFunctionsPostgresSql()) + PostingPostgresSql();
}

namespace {

std::string Script(data::Backend backend, bool with_demo_data) {
  if (backend == data::Backend::kSQLite) {
    std::string script = SchemaSql();
    script += OrdersToComeSql();
    script += ProceduresSql();
    if (with_demo_data) script += DemoDataSql();
    script += AccessScript(backend);
    return script;
  }
  std::string script = kResetPostgresSchema;
  script += PostgresPreludeSql();
  script += data::PortableToPostgres(SchemaSql());
  script += OrdersToComePostgresSql();
  script += PostgresProceduresSql();
  if (with_demo_data) script += data::PortableToPostgres(DemoDataSql());
  script += PostgresFinishSql();
  script += AccessScript(backend);
  return script;
}

[[noreturn]] void RaiseFileError(int error, const std::string& path) {
  const int32_t number = error == EEXIST                       ? vb::err::kFileAlreadyExists
                         : error == ENOENT || error == ENOTDIR ? vb::err::kPathNotFound
                                                               : vb::err::kPathFileAccessError;
  throw vb::Error::Numbered(number, kSource, path);
}

// An empty file of our own beside `path`, for building the new database.
std::string NewTemporaryFile(const std::string& path) {
  const std::filesystem::path target(path);
  std::string name =
      (target.parent_path() / ("." + target.filename().string() + ".kvt-new-XXXXXX")).string();
  const int fd = ::mkstemp(name.data());
  if (fd < 0) RaiseFileError(errno, path);
  // mkstemp makes it private; give it the mode any new file gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  return name;
}

void Build(const std::string& path, bool with_demo_data) {
  std::error_code ignored;
  if (std::filesystem::symlink_status(path, ignored).type() !=
      std::filesystem::file_type::not_found) {
    RaiseFileError(EEXIST, path);
  }
  const std::string building = NewTemporaryFile(path);
  try {
    auto connection = data::Connection::Open(building);
    BuildDatabase(*connection, with_demo_data);
    // Write-ahead logging: readers never block the clerk who posts, and a
    // commit costs one sync of the log instead of three of journal and file.
    connection->ExecuteScript("PRAGMA journal_mode = WAL");
    connection->Close();
    // A link, unlike a rename, never replaces what appeared at `path` since.
    if (::link(building.c_str(), path.c_str()) != 0) RaiseFileError(errno, path);
  } catch (...) {
    RemoveDatabaseFiles(building);
    throw;
  }
  RemoveDatabaseFiles(building);
}

// How many of the purchasing tables a server schema holds (names folded to
// lower case, as unquoted names are), and how many tables in all.
struct ServerTables {
  int32_t ours = 0;
  int32_t all = 0;
};

ServerTables CountServerTables(data::Connection& connection) {
  const auto counts = connection.Query(
      "SELECT COUNT(*) FILTER (WHERE table_name IN ('purchaseorders', "
      "'purchaseorderdetails', 'years')), COUNT(*) FROM information_schema.tables "
      "WHERE table_schema = current_schema()");
  return {vb::CLng(counts->Item(0).Value()), vb::CLng(counts->Item(1).Value())};
}

// Columns that every database of ours has had since the first build, read
// (never written) to tell ours from another program's database that merely
// has tables of the same names.
constexpr const char* kIdentityQueries[] = {
    "SELECT ID, CompanyID, SupplierID, OrderNumber, DateOrdered, Status, OurRef, SuppRef, "
    "DelName, DelAddr1, DelAddr2, DelAddr3, DelPostCode, Message FROM PurchaseOrders WHERE 1 = 0",
    "SELECT ID, PurchaseOrderID, ProductID, LeadTime, Qty, BOQty, FreeQty, QtyReceived, "
    "UnitPrice, NetAmount, TaxCodesID, Tax, TotalCost FROM PurchaseOrderDetails WHERE 1 = 0",
    "SELECT ID, CompanyID, SupplierID, TranTypeID, VoucherNumber, PurchaseOrderID, DateReceived "
    "FROM GRVs WHERE 1 = 0",
    "SELECT ID, GRVID, SourceLineID, ProductID, Qty, QtyReturned, QtySold, QtyLeft FROM GRVDetails "
    "WHERE 1 = 0",
    "SELECT ID, Username FROM Users WHERE 1 = 0",
    "SELECT ID, Name FROM Companies WHERE 1 = 0",
};

// Raises 321 unless the database has every column of kIdentityQueries.
void CheckIdentity(data::Connection& connection, const std::string& where) {
  for (const char* query : kIdentityQueries) {
    try {
      connection.Query(query);
    } catch (const vb::Error&) {
      throw vb::Error::Numbered(vb::err::kInvalidFileFormat, kSource, where);
    }
  }
}

}  // namespace

std::string ConnectionTextFor(const std::string& path) {
  return "Provider=SQLite;Data Source=" + vb::KeyValueText(path);
}

std::string DatabaseConnectionText(const std::string& path_or_text) {
  constexpr std::string_view kProvider = "Provider=";
  return vb::SameText(std::string_view(path_or_text).substr(0, kProvider.size()), kProvider)
             ? path_or_text
             : ConnectionTextFor(path_or_text);
}

void BuildDatabase(data::Connection& connection, bool with_demo_data) {
  // One transaction: a failed script leaves nothing half-built.
  connection.RunInTransaction(
      [&] { connection.ExecuteScript(Script(connection.GetBackend(), with_demo_data)); });
}

bool HoldsNoTables(data::Connection& connection) { return CountServerTables(connection).all == 0; }

void CheckOurSchema(data::Connection& connection, const std::string& where) {
  if (CountServerTables(connection).ours != 3) {
    throw vb::Error::Numbered(vb::err::kInvalidFileFormat, kSource, where);
  }
  CheckIdentity(connection, where);
}

void ResetDemoSchema(data::Connection& connection, const std::string& where) {
  CheckOurSchema(connection, where);
  if (!data::HoldSchemaAlone(connection)) {
    throw data::LockConflict("Another program has the database open.", where);
  }
  connection.RunInTransaction([&] {
    // Refuse soon rather than wait behind a clerk's open transaction.
    connection.ExecuteScript("SET LOCAL lock_timeout = '1s'");
    connection.ExecuteScript(Script(data::Backend::kPostgreSQL, true));
  });
}

void CreateEmptyDatabase(const std::string& path) { Build(path, false); }

void CreateDemoDatabase(const std::string& path) { Build(path, true); }

void CheckOurDatabase(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) {
    throw vb::Error::Numbered(vb::err::kFileNotFound, kSource, path);
  }
  auto connection = data::Connection::Open(path);
  const auto tables = connection->Query(
      "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' "
      "AND name IN ('kvt_procedures', 'PurchaseOrders', 'PurchaseOrderDetails')");
  if (vb::CLng(tables->Item(0).Value()) != 3) {
    throw vb::Error::Numbered(vb::err::kInvalidFileFormat, kSource, path);
  }
  CheckIdentity(*connection, path);
}

void ResetDemoDatabase(const std::string& path) {
  CheckOurDatabase(path);
  // An idle reader too: the rebuild would pull the tables from under it.
  auto connection = data::Connection::Open(path, data::Connection::OpenMode::kAlone);
  // Refuse at once rather than wait for a lock; dropping tables in any
  // order needs the foreign keys off, which only works outside a
  // transaction.
  connection->ExecuteScript("PRAGMA busy_timeout = 0; PRAGMA foreign_keys = OFF");
  connection->RunInTransaction(
      [&] {
        const auto objects = connection->Query(
            "SELECT type, name FROM sqlite_master "
            "WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite%'");
        std::vector<std::string> drops;
        for (; !objects->IsEOF(); objects->MoveNext()) {
          drops.push_back("DROP " + vb::CStr(objects->Item(0).Value()) + " IF EXISTS " +
                          vb::DoubleQuoted(vb::CStr(objects->Item(1).Value())));
        }
        for (const std::string& drop : drops) connection->ExecuteScript(drop);
        connection->ExecuteScript(Script(data::Backend::kSQLite, true));
      },
      data::Connection::TransactionLock::kExclusive);
}

int32_t AddVolumeOrders(const std::string& path, int32_t line_count, int32_t lines_per_order) {
  auto connection = data::Connection::Open(path);
  if (lines_per_order < 1) lines_per_order = 1;
  const int32_t order_count = (line_count + lines_per_order - 1) / lines_per_order;
  const int32_t first_order = vb::CLng(
      connection->Query("SELECT COALESCE(MAX(ID), 0) + 1 FROM PurchaseOrders")->Item(0).Value());
  connection->RunInTransaction([&] {
    connection->Execute(
        "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n "
        "WHERE k + 1 < ?2) "
        "INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, "
        "DateOrdered, Status, OurRef) "
        "SELECT ?1 + k, 1, 1, printf('PV%07d', ?1 + k), "
        "date('2026-01-01', '+' || (k % 300) || ' days'), 1, 'Volume' FROM n",
        {vb::Variant(first_order), vb::Variant(order_count)});
    connection->Execute(
        "WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n "
        "WHERE k + 1 < ?2) "
        "INSERT INTO PurchaseOrderDetails (PurchaseOrderID, ProductID, "
        "LeadTime, Qty, BOQty, FreeQty, QtyReceived, UnitPrice, TradeDisc, "
        "RebateDisc, OtherDisc, NetAmount, TaxCodesID, Tax, TotalCost) "
        "SELECT ?1 + k / ?3, 1 + k % 10, 7, 10 + k % 7, k % 3, 0, k % 5, "
        "50.00, 0, 0, 0, 50.00 * (10 + k % 7), 1, "
        "ROUND(7.50 * (10 + k % 7), 2), ROUND(57.50 * (10 + k % 7), 2) FROM n",
        {vb::Variant(first_order), vb::Variant(line_count), vb::Variant(lines_per_order)});
  });
  return first_order;
}

}  // namespace kvt::db
