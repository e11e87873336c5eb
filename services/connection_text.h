// The shared connection text of the suite, in the platform's
// "Key=Value;Key=Value" form, and the connection it names:
//   Provider=SQLite;Data Source=/path/db.sqlite
//   Provider=PostgreSQL;Host=db1;Port=5432;Database=kvt;User ID=dana;
//     Password=...;Connect Timeout=10;Schema=branch2
#pragma once

#include <string>

#include "platform/data/connection.h"
#include "platform/data/postgres_connection.h"

namespace kvt::services {

struct ConnectionText {
  data::Backend backend = data::Backend::kSQLite;
  // SQLite: the database file ("Data Source", or "Database"), or ":memory:".
  std::string path;
  // PostgreSQL: "Host" (or "Server", or "Data Source"), "Port" and
  // "Database" (or "Initial Catalog"); an empty host or port takes libpq's
  // default.
  std::string host;
  std::string port;
  std::string database;
  std::string schema;                // PostgreSQL: "Schema", the one to work in
  std::string user_id;               // "User ID", "UID" or "User"; empty when not given
  std::string password;              // "Password" or "PWD"
  int connect_timeout_seconds = 15;  // "Connect Timeout"
};

// Reads a connection text. Keys are matched without regard to case and
// surrounding blanks; a value may be wrapped in double or single quotes, and
// must be when it holds ";" (a doubled quote inside stands for one); unknown
// keys are ignored. A missing Provider means SQLite. Raises 3706 for another
// provider than SQLite or PostgreSQL, and 3001 when the text names no
// database, a quote is not closed or a timeout is no number.
ConnectionText ParseConnectionText(const std::string& text);

// Where `text` points, for messages, never with the password: the SQLite
// file's path, or "<database> on <host> (PostgreSQL)".
std::string DescribeDatabase(const ConnectionText& text);

// The server, login and schema a PostgreSQL `text` names.
data::PostgresServer ServerOf(const ConnectionText& text);

// Opens a connection to the database `text` names. A missing SQLite file
// is an error, never a new empty database. Raises what the backend's open
// raises (0x80004005 with the engine's message, 3706 for PostgreSQL in a
// build without it).
// While a ScopedConnectionReuse lives on the calling thread, a connection
// opened here is kept and given again to a later open of the same text
// (the same login) once nobody else holds it and it is idle (open and
// outside any transaction; one that is not is dropped): a request, or the
// desk's window, that drives the component (which opens a connection for
// each query) then logs in once instead of a dozen times. Kept connections
// hold the schema shared like any open one, so nothing that needs the
// database alone (putting the demo data back) runs inside a scope.
data::ConnectionRef OpenConnection(const ConnectionText& text);

class ScopedConnectionReuse {
 public:
  ScopedConnectionReuse();
  ~ScopedConnectionReuse();
  ScopedConnectionReuse(const ScopedConnectionReuse&) = delete;
  ScopedConnectionReuse& operator=(const ScopedConnectionReuse&) = delete;

 private:
  bool outermost_ = false;  // a scope inside another leaves the outer's connections be
};

}  // namespace kvt::services
