// Building the suite's purchasing database: schema, procedure catalogue
// and demo data, all built into the library (no SQL files needed at run
// time).
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/connection.h"

namespace kvt::db {

// The demo company, its database name for saved screen settings, and
// the demo's current accounting period (November 2026, year key 7).
inline constexpr int32_t kDemoCompanyID = 1;
inline constexpr char kDemoDatabaseName[] = "KvtDemo";

// The shared connection text that opens the SQLite database file at `path`
// (quoted when the path needs it).
std::string ConnectionTextFor(const std::string& path);

// What a host's --db names as a connection text: a text that begins with
// "Provider=" is one already; anything else is an SQLite file's path.
std::string DatabaseConnectionText(const std::string& path_or_text);

// Builds the purchasing database where `connection` points, in one
// transaction: schema, procedures (the catalogue on SQLite, functions on
// PostgreSQL) and, when `with_demo_data`, the demo data. The schema and the
// data are the same scripts for both backends. On PostgreSQL everything in
// the connection's schema is dropped first; an SQLite database must be
// empty. Raises 0x80040E14 when a script fails, and nothing is left of it.
void BuildDatabase(data::Connection& connection, bool with_demo_data);

// The tables of users' roles and the audit trail, and on a
// server the grants, triggers and row security that enforce the roles
// (db/access_*.sql): part of every database BuildDatabase makes, and run
// alone on a database an earlier build made.
std::string AccessScript(data::Backend backend);
// A server's login gate and login locks (db/login_locks_postgres.sql): part
// of AccessScript, and run alone on a database an earlier build gave the
// audit trail without them. Runs again harmlessly.
std::string LoginLocksScript();
// Folding what a server refused into the audit trail from its log
// (db/server_log_postgres.sql): part of AccessScript, and run alone, after
// LoginLocksScript, on a database an earlier build made without it. Runs
// again harmlessly.
std::string ServerLogScript();
// A server's posting functions (db/posting_postgres.sql) and the access
// helpers they call: part of AccessScript, and run alone on a database an
// earlier build made without them, or with slower ones. Runs again
// harmlessly.
std::string PostingFunctionsScript();

// A PostgreSQL server's database is the connection's schema; these stand
// for the file checks below. `where` names it in errors.
// True when the schema holds no table yet.
bool HoldsNoTables(data::Connection& connection);
// Raises 321 (Invalid file format) unless the schema holds the purchasing
// tables with the columns every build of ours has made. Reads only.
void CheckOurSchema(data::Connection& connection, const std::string& where);
// Rebuilds the schema with the demo data in one transaction after
// CheckOurSchema; another session of ours on the schema, idle or not,
// refuses it at once, and a lock another session holds past a second
// refuses it (0x80040E14), and the schema stays as it was.
void ResetDemoSchema(data::Connection& connection, const std::string& where);

// Creates a database with the schema and the procedure catalogue and no
// data at `path`, where nothing may be yet: it is built under a temporary
// name in the same folder and takes the name `path` only when complete, so
// a failure leaves no file behind and an existing file is never replaced.
// Raises 58 (File already exists) when something is at `path`, 76 (Path
// not found) when its folder is missing, 75 when the folder takes no file,
// 0x80004005 or 0x80040E14 with the engine's message when writing fails.
void CreateEmptyDatabase(const std::string& path);

// Creates the demo database at `path` the same way. Errors as for
// CreateEmptyDatabase.
void CreateDemoDatabase(const std::string& path);

// Raises unless the file at `path` is a database of ours, one that holds
// the purchasing tables and the procedure catalogue: 53 (File not found)
// when nothing is there, 0x80004005 with the engine's message when it is
// no database ("file is not a database"), 321 (Invalid file format) when it
// is some other database (one with tables of our names but not our
// columns included) or an empty file. Never changes the file.
void CheckOurDatabase(const std::string& path);

// Puts the demo data back into our database at `path`, replacing all it
// holds, in one exclusive transaction: while another connection has the
// file open, idle or not, it refuses at once (a LockConflict, 0x80040E14),
// and
// when the rebuild fails the file stays as it was. Raises as
// CheckOurDatabase when the file is not ours.
void ResetDemoDatabase(const std::string& path);

// Adds `line_count` outstanding order lines to the database at `path`, in
// processed orders of `lines_per_order` lines of the demo company's first
// supplier (for volume tests). Returns the ID of the first order added.
// Raises 0x80004005 when the file does not exist.
int32_t AddVolumeOrders(const std::string& path, int32_t line_count, int32_t lines_per_order = 10);

}  // namespace kvt::db
