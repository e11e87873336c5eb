#include "apps/kvt-host/host_database.h"

#include <filesystem>

#include "db/books_checks.h"
#include "db/demo_database.h"
#include "db/portable_script.h"
#include "platform/value/error.h"

namespace kvt::host {

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
    : target_(services::ParseConnectionText(connection_text)) {}

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
  if (OnFile()) {
    db::ResetDemoDatabase(target_.path);
  } else {
    db::ResetDemoSchema(*Open(), Where());
  }
}

void HostDatabase::CheckOurs() const {
  if (OnFile()) {
    db::CheckOurDatabase(target_.path);
  } else {
    db::CheckOurSchema(*Open(), Where());
  }
  const data::ConnectionRef connection = Open();
  // And the books' checks, which refuse what they cannot hold.
  db::AddBooksChecks(*connection);
  // A database an earlier build made lacks the orders' row version: added,
  // every order at its first version, so work saved there stays usable.
  if (!HasColumn(*connection, "PurchaseOrders", "RowVersion")) {
    db::RunPortableScript(*connection,
                          "ALTER TABLE PurchaseOrders ADD COLUMN RowVersion INTEGER NOT NULL "
                          "DEFAULT 1;\n"
                          "ALTER TABLE PurchaseOrders ADD COLUMN ChangedBy TEXT;\n"
                          "ALTER TABLE PurchaseOrders ADD COLUMN ChangedAt DATETIME;\n");
  }
  // ... and the roles and the audit trail: added empty, so the database
  // stays open to everyone on SQLite until an administrator records users,
  // and on a server to its owner until users are added.
  if (!HasColumn(*connection, "AuditTrail", "ID")) {
    connection->RunInTransaction(
        [&] { connection->ExecuteScript(db::AccessScript(connection->GetBackend())); });
  }
}

}  // namespace kvt::host
