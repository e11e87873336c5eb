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

// Builds the purchasing database where `connection` points, in one
// transaction: schema, procedures (the catalogue on SQLite, functions on
// PostgreSQL) and, when `with_demo_data`, the demo data. The schema and the
// data are the same scripts for both backends. On PostgreSQL everything in
// the connection's schema is dropped first; an SQLite database must be
// empty. Raises 0x80040E14 when a script fails, and nothing is left of it.
void BuildDatabase(data::Connection& connection, bool with_demo_data);

// Creates the demo database where `connection_text` points: an SQLite file
// is replaced, a PostgreSQL database (which must exist) gets its schema
// replaced. Raises as OpenConnection and BuildDatabase do.
void CreateDemoDatabaseFor(const std::string& connection_text);

// Creates a database with the schema and the procedure catalogue and no
// data at `path`, replacing any file there. Raises 0x80004005 when the file
// cannot be written, 0x80040E14 when a script fails.
void CreateEmptyDatabase(const std::string& path);

// Creates the demo database at `path`, replacing any file there. Errors as
// for CreateEmptyDatabase.
void CreateDemoDatabase(const std::string& path);

// Adds `line_count` outstanding order lines to the database at `path`, in
// processed orders of `lines_per_order` lines of the demo company's first
// supplier (for volume tests). Returns the ID of the first order added.
// Raises 0x80004005 when the file does not exist.
int32_t AddVolumeOrders(const std::string& path, int32_t line_count,
                        int32_t lines_per_order = 10);

}  // namespace kvt::db
