// The shared connection text of the suite, in the platform's
// "Key=Value;Key=Value" form, and the connection it names:
//   Provider=SQLite;Data Source=/path/db.sqlite
//   Provider=PostgreSQL;Host=db1;Port=5432;Database=kvt;User ID=dana;
//     Password=...;Connect Timeout=10;Schema=branch2
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
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

// Connections kept open from one reuse scope to the next (a logged-in API
// user's from one request to their next), so that a login, and a new
// server session's warming of its caches, is paid once and not on every
// request. Kept by the text they were opened with, so one login's
// connection is never given to another. Holds at most `limit` idle
// connections over all logins (the oldest is closed for a newer one) and
// closes one left idle longer than `idle_limit`. Thread-safe.
class ConnectionPool {
 public:
  ConnectionPool(size_t limit, std::chrono::seconds idle_limit)
      : limit_(limit), idle_limit_(idle_limit) {}

  // Closes the kept connections of the login `connection_text` names (its
  // last session has ended).
  void Forget(const std::string& connection_text);
  size_t IdleCount();

 private:
  friend data::ConnectionRef OpenConnection(const ConnectionText& text);
  friend class ScopedConnectionReuse;
  using Clock = std::chrono::steady_clock;
  struct Kept {
    std::string key;
    data::ConnectionRef connection;
    Clock::time_point since;
  };

  // The most recently kept idle connection opened as `key`; null for none.
  data::ConnectionRef Take(const std::string& key);
  void Give(const std::string& key, data::ConnectionRef connection);
  // Takes out what has idled too long (the caller closes it unlocked).
  void TakeStale(Clock::time_point now, std::vector<data::ConnectionRef>& closing);

  size_t limit_;
  std::chrono::seconds idle_limit_;
  std::mutex mutex_;
  std::deque<Kept> idle_;  // oldest first
};

class ScopedConnectionReuse {
 public:
  ScopedConnectionReuse();
  // Takes connections from `pool` before opening any, and gives the idle
  // ones back to it at the end (an outermost scope only).
  explicit ScopedConnectionReuse(ConnectionPool* pool);
  ~ScopedConnectionReuse();
  ScopedConnectionReuse(const ScopedConnectionReuse&) = delete;
  ScopedConnectionReuse& operator=(const ScopedConnectionReuse&) = delete;

 private:
  bool outermost_ = false;  // a scope inside another leaves the outer's connections be
};

}  // namespace kvt::services
