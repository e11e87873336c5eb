// The database a host command works on, named by a connection text: an
// SQLite file, or a schema of a PostgreSQL server, with the checks and the
// demo data of db/demo_database.h for either.
#pragma once

#include <string>

#include "platform/data/connection.h"
#include "services/connection_text.h"

namespace kvt::host {

class HostDatabase {
 public:
  // Raises as ParseConnectionText.
  explicit HostDatabase(const std::string& connection_text);

  // For messages, never with the password: the file's path, or the
  // server's database.
  std::string Where() const { return services::DescribeDatabase(target_); }
  // Something is at the path; a server schema holds a table.
  bool Exists() const;
  // The demo database made where nothing is yet. Raises 58 (File already
  // exists) when something is, and as CreateDemoDatabase.
  void CreateDemo() const;
  // As ResetDemoDatabase, ResetDemoSchema.
  void ResetDemo() const;
  // As CheckOurDatabase, CheckOurSchema; then adds the columns a database
  // of an earlier build lacks (75 when it is read-only).
  void CheckOurs() const;
  // Why the database may not be written to, in words; empty when it may.
  std::string ReadOnlyReason() const;

 private:
  bool OnFile() const { return target_.backend == data::Backend::kSQLite; }
  data::ConnectionRef Open() const { return services::OpenConnection(target_); }

  std::string connection_text_;
  services::ConnectionText target_;
};

}  // namespace kvt::host
