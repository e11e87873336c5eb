// Connections to a PostgreSQL server, behind the same Connection interface
// as SQLite files.
#pragma once

#include <string>

#include "platform/data/connection.h"

namespace kvt::data {

// Where the server is and whom to log in as. Empty fields take libpq's
// defaults (the local socket, port 5432, the user's own name).
struct PostgresServer {
  std::string host;  // a name, an address, or the folder of a Unix socket
  std::string port;
  std::string database;
  std::string user;
  std::string password;
  // The schema the session works in (its exact name); empty: the server's
  // search path ("$user", public).
  std::string schema;
  // A server that does not answer fails the connection after this long
  // (libpq waits at least 2 seconds).
  int connect_timeout_seconds = 15;
};

// Opens a connection to `server`. The session reads dates as ISO text and
// numbers in full precision whatever the server's settings are, and waits
// for another session's lock as long as an SQLite connection would. Raises
// 0x80004005 with the server's (or libpq's) message as description when the
// server cannot be reached in time, refuses the login or has no such
// database, and 3706 when the library was built without PostgreSQL; the
// context names host, port and database, never the password.
// A LoginRefused when the server turned the login down. Every session holds
// its schema shared (a session advisory lock on the schema's name) for as
// long as it is open, idle or not.
ConnectionRef OpenPostgres(const PostgresServer& server);

// The SCRAM verifier the server stores for `user`'s `password`, made here
// so that the password itself never travels to the server nor reaches its
// logs. Raises 0x80004005 when `connection` is no server connection or
// the library cannot make one.
std::string PostgresPasswordVerifier(Connection& connection, const std::string& user,
                                     const std::string& password);

// True, and the schema held for this session alone until it closes, when no
// other session of ours holds the connection's schema; false otherwise.
bool HoldSchemaAlone(Connection& connection);

}  // namespace kvt::data
