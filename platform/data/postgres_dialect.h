// The SQL the project writes once for both backends, and what PostgreSQL
// needs instead.
//
// Schema and data scripts are written in SQLite's dialect, kept to a subset
// that PostgreSQL also reads once these rewrites are made:
//   INTEGER PRIMARY KEY [AUTOINCREMENT]  an identity column (IDs given by
//                                        a script are kept; the counters
//                                        then need moving past them, as
//                                        db/postgres_finish.sql does)
//   REAL                                 DOUBLE PRECISION (SQLite's REAL is
//                                        eight bytes)
//   char(13)                             chr(13)
// and with these rules kept by the scripts themselves: booleans as TRUE and
// FALSE, no engine-specific functions (printf, date, TOTAL, IFNULL...).
// CURRENCY, DATETIME and COLLATE NOCASE exist on the server as a domain, a
// domain and a collation (db/postgres_prelude.sql), and ROUND of a double
// as a function. Quoted text, quoted names, comments and dollar-quoted
// bodies are never rewritten.
#pragma once

#include <string>

namespace kvt::data {

// `sql` in the shared dialect rewritten for PostgreSQL.
std::string PortableToPostgres(const std::string& sql);

// `sql` with the parameter markers ?1..?n written as PostgreSQL's $1..$n,
// outside quotes and comments.
std::string PostgresPlaceholders(const std::string& sql);

}  // namespace kvt::data
