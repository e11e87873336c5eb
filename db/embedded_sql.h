// The database scripts, built into the library from db/*.sql.
#pragma once

namespace kvt::db {

// Tables and indexes of the purchasing data (schema.sql).
const char* SchemaSql();
// The procedure catalogue: bodies of the procedures (procedures.sql).
const char* ProceduresSql();
// The demo company's data (demo_data.sql).
const char* DemoDataSql();
// PostgreSQL only: what the shared scripts need first (domains, collation),
// the procedures as functions, and what runs last (identity counters).
const char* PostgresPreludeSql();
const char* PostgresProceduresSql();
const char* PostgresFinishSql();
// Roles and the audit trail: the tables (shared dialect), the
// audit trail's guard on SQLite, the grants, triggers and row security of
// a server (access_*.sql).
const char* AccessSchemaSql();
const char* AccessSqliteSql();
const char* AccessPostgresSql();
// Who the login is (PL/pgSQL, asked on every posting): before the access
// script, and again with the posting functions on an earlier build's database.
const char* AccessFunctionsPostgresSql();
// The login gate and the locks of logins that failed too often, on a server.
const char* LoginLocksPostgresSql();
// Refusals and failed passwords the server logged, folded into the audit
// trail, on a server.
const char* ServerLogPostgresSql();
// The posting functions of a server, and the rights they take over.
const char* PostingPostgresSql();
// The orders open for receiving with lines to come, kept by triggers, on
// SQLite and on a server (orders_to_come*.sql).
const char* OrdersToComeSql();
const char* OrdersToComePostgresSql();

}  // namespace kvt::db
