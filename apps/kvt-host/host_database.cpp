#include "apps/kvt-host/host_database.h"

#include <filesystem>

#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/sessions/desk_context.h"
#include "db/books_checks.h"
#include "db/demo_database.h"
#include "db/list_indexes.h"
#include "db/orders_to_come.h"
#include "db/portable_script.h"
#include "db/procedure_catalogue.h"
#include "platform/data/data_errors.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

// What a database an earlier build made lacks, added in this order when
// `probe` fails: work saved there stays usable.
struct Migration {
  const char* probe;
  const char* lacks;
  const char* script;
};
constexpr Migration kMigrations[] = {
    // The orders' row version, every order at its first version.
    {"SELECT RowVersion FROM PurchaseOrders WHERE 1 = 0", "the orders' row version",
     "ALTER TABLE PurchaseOrders ADD COLUMN RowVersion INTEGER NOT NULL DEFAULT 1;\n"
     "ALTER TABLE PurchaseOrders ADD COLUMN ChangedBy TEXT;\n"
     "ALTER TABLE PurchaseOrders ADD COLUMN ChangedAt DATETIME;\n"},
    // Who ended an order and when; the date of a consignment sale.
    {"SELECT EndedBy, EndedAt FROM PurchaseOrders WHERE 1 = 0", "who closed an order and when",
     "ALTER TABLE PurchaseOrders ADD COLUMN EndedBy TEXT;\n"
     "ALTER TABLE PurchaseOrders ADD COLUMN EndedAt DATETIME;\n"},
    {"SELECT SoldOn FROM GRVDetails WHERE 1 = 0", "the dates of consignment sales",
     "ALTER TABLE GRVDetails ADD COLUMN SoldOn DATE;\n"},
    {"SELECT Barcode FROM Products WHERE 1 = 0", "the products' barcodes",
     "ALTER TABLE Products ADD COLUMN Barcode TEXT;\n"
     "CREATE UNIQUE INDEX Products_Barcode ON Products(CompanyID, Barcode);\n"},
    {"SELECT PostingFrom FROM VoucherDrafts WHERE 1 = 0", "the API's vouchers being captured",
     "CREATE TABLE VoucherDrafts (ID INTEGER PRIMARY KEY, CompanyID INTEGER NOT NULL, "
     "Owner TEXT NOT NULL, TranTypeID INTEGER NOT NULL, SupplierID INTEGER NOT NULL, "
     "SourceID INTEGER NOT NULL, DelNoteNumber TEXT NOT NULL DEFAULT '', "
     "SupplierRef TEXT NOT NULL DEFAULT '', Lines TEXT NOT NULL DEFAULT '[]', "
     "AppliedKeys TEXT NOT NULL DEFAULT '[]', PostingKey TEXT, PostingFrom INTEGER, "
     "Posted TEXT, UpdatedAt DATETIME NOT NULL);\n"},
    {"SELECT Answer FROM ApiSaleKeys WHERE 1 = 0", "the API's consignment sales' keys",
     "CREATE TABLE ApiSaleKeys (CompanyID INTEGER NOT NULL, Owner TEXT NOT NULL, "
     "SaleKey TEXT NOT NULL, Request TEXT NOT NULL, Answer TEXT, "
     "UpdatedAt DATETIME NOT NULL, PRIMARY KEY (CompanyID, Owner, SaleKey));\n"},
};

}  // namespace

namespace {

bool HasColumn(data::Connection& connection, const std::string& table, const std::string& column) {
  try {
    connection.Query("SELECT " + column + " FROM " + table + " WHERE 1 = 0");
    return true;
  } catch (const vb::Error&) {
    return false;
  }
}

}  // namespace

HostDatabase::HostDatabase(const std::string& connection_text)
    : connection_text_(connection_text), target_(services::ParseConnectionText(connection_text)) {}

bool HostDatabase::Exists() const {
  if (!OnFile()) return !db::HoldsNoTables(*Open());
  std::error_code ignored;
  return std::filesystem::symlink_status(target_.path, ignored).type() !=
         std::filesystem::file_type::not_found;
}

void HostDatabase::CreateDemo() const {
  if (OnFile()) {
    db::CreateDemoDatabase(target_.path);
    return;
  }
  const data::ConnectionRef connection = Open();
  if (!db::HoldsNoTables(*connection)) {
    throw vb::Error::Numbered(vb::err::kFileAlreadyExists, "Database", Where());
  }
  db::BuildDatabase(*connection, true);
}

void HostDatabase::ResetDemo() const {
  // It removes everyone's work: an administrator's (a database without
  // roles yet is everyone's; a server's schema only its owner may drop).
  if (const data::ConnectionRef connection = Open(); HasColumn(*connection, "UserRoles", "Role")) {
    access::UserAccess::Of(*connection)
        .Require(*connection, access::Action::kResetDemo, "demo data", 0);
  }
  if (OnFile()) {
    db::ResetDemoDatabase(target_.path);
  } else {
    db::ResetDemoSchema(*Open(), Where());
  }
}

void HostDatabase::CheckOurs() const {
  // Ours, by its columns, before anything is written to it.
  if (OnFile()) {
    db::CheckOurDatabase(target_.path);
  } else {
    db::CheckOurSchema(*Open(), Where());
  }
  const data::ConnectionRef connection = Open();
  for (const Migration& migration : kMigrations) {
    try {
      connection->Query(migration.probe);
      continue;
    } catch (const data::PermissionDenied&) {
      continue;  // there, and the login's grants keep it from reading it
    } catch (const vb::Error&) {
    }
    if (const std::string why = ReadOnlyReason(); !why.empty()) {
      throw vb::Error(vb::err::kPathFileAccessError, "Database",
                      "The database was made by an earlier build and lacks " +
                          std::string(migration.lacks) + ", which cannot be added: " + why + ".");
    }
    db::RunPortableScript(*connection, migration.script);
  }
  // This build's procedure bodies, and the books' checks, which refuse what
  // they cannot hold.
  db::RefreshProcedureCatalogue(*connection);
  db::AddBooksChecks(*connection);
  // The indexes that keep every list to a page, however long the history,
  // and the orders still open for receiving (before the list functions,
  // which read them).
  db::AddOrdersToCome(*connection);
  db::AddListIndexes(*connection);
  // The roles and the audit trail: added empty, so the database stays open
  // to everyone on SQLite until an administrator records users, and on a
  // server to its owner until users are added.
  if (!HasColumn(*connection, "AuditTrail", "ID")) {
    if (const std::string why = ReadOnlyReason(); !why.empty()) {
      throw vb::Error(vb::err::kPathFileAccessError, "Database",
                      "The database was made by an earlier build and lacks the audit trail, "
                      "which cannot be added: " +
                          why + ".");
    }
    connection->RunInTransaction(
        [&] { connection->ExecuteScript(db::AccessScript(connection->GetBackend())); });
  }
  // On a server, the login gate and the locks of logins guessed at. Only
  // the schema's owner may add them; until it opens the database, logins
  // are not counted, and everyone else works on.
  // (Asked of the catalogue: only an administrator may read the table.)
  if (!OnFile() && connection
                       ->Query("SELECT 1 FROM pg_tables WHERE schemaname = current_schema() "
                               "AND tablename = 'loginlocks'")
                       ->IsEOF()) {
    try {
      connection->RunInTransaction([&] { connection->ExecuteScript(db::LoginLocksScript()); });
    } catch (const data::PermissionDenied&) {
    }
  }
  // On a server, what it refused folded into the audit trail from its log;
  // the login gate then counts failures from there too, so it is made
  // again with it.
  if (!OnFile() && !connection
                        ->Query("SELECT 1 FROM pg_tables t WHERE schemaname = current_schema() "
                                "AND tablename = 'loginlocks' AND NOT EXISTS (SELECT 1 FROM "
                                "pg_tables WHERE schemaname = t.schemaname AND tablename = "
                                "'serverlogreading')")
                        ->IsEOF()) {
    try {
      connection->RunInTransaction([&] {
        connection->ExecuteScript(db::LoginLocksScript());
        connection->ExecuteScript(db::ServerLogScript());
      });
    } catch (const data::PermissionDenied&) {
    }
  }
  // On a server, the posting functions; as for the login locks, only the
  // schema's owner may add them, and until then posting writes as before.
  // (The voucher line's type, the newest thing the script makes, stands for
  // it: a database without it has no posting functions, or an earlier
  // build's, and SQL access helpers parsed on every call.)
  if (OnFile()) return;
  if (connection
          ->Query("SELECT 1 FROM pg_type WHERE typnamespace = "
                  "current_schema()::regnamespace AND typname = 'kvt_voucher_line'")
          ->IsEOF()) {
    try {
      connection->RunInTransaction(
          [&] { connection->ExecuteScript(db::PostingFunctionsScript()); });
    } catch (const data::PermissionDenied&) {
    }
  }
  // Postings whose clerk stopped before they were numbered are numbered
  // now, so that nobody works on beside a voucher without its number.
  try {
    connection->Query(
        "SELECT kvt_finish_postings(CompanyID) FROM (SELECT DISTINCT CompanyID FROM GRVs "
        "WHERE VoucherNumber LIKE '~%') AS waiting");
  } catch (const vb::Error&) {
    // Not ours to finish (no posting functions, or a login that may not
    // read them): the next posting of the company finishes them.
  }
}

std::string HostDatabase::ReadOnlyReason() const {
  return host::ReadOnlyReason(connection_text_, WriteRefusal(*Open()));
}

}  // namespace kvt::host
