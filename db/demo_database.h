// Building the suite's purchasing database: schema, procedure catalogue
// and demo data, all built into the library (no SQL files needed at run
// time).
#pragma once

#include <cstdint>
#include <string>

namespace kvt::db {

// The demo company, its database name for saved screen settings, and
// the demo's current accounting period (November 2026, year key 7).
inline constexpr int32_t kDemoCompanyID = 1;
inline constexpr char kDemoDatabaseName[] = "KvtDemo";

// The shared connection text that opens the database file at `path`.
std::string ConnectionTextFor(const std::string& path);

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
