// The audit trail: one row per thing done (or refused), append only. The
// host writes a row with Audit where it acts; on a server the database
// sets who, when and from where itself, so a row cannot be written in
// another login's name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/connection.h"
#include "platform/data/data_errors.h"
#include "platform/value/date.h"

namespace kvt::access {

struct AuditEntry {
  int32_t company_id = 0;  // 0: no company's (a user's, a login's)
  std::string action;      // "order saved", "voucher posted", "refused", ...
  std::string document;    // "order PO000111", "voucher GRV000208", "user dana"
  std::string details;     // what changed: before and after, totals
};

// Appends `entry` as done by `user` now, from this machine. Runs in the
// caller's transaction when there is one, so that it stands or falls with
// the work it records. Raises as Connection::Execute.
void Audit(data::Connection& connection, const std::string& user, const AuditEntry& entry);

// A refusal of the database put in plain words: "The database refused it:
// <why>." for a missing grant, the database's own words for its rules.
std::string PlainRefusal(const data::PermissionDenied& denied);

// Records that the database refused `attempted` (after its transaction has
// been rolled back) and raises kPermissionDenied with PlainRefusal.
[[noreturn]] void RaiseRefusal(data::Connection& connection, const std::string& user,
                               const data::PermissionDenied& denied, const AuditEntry& attempted);

// Runs `work`; a refusal of the database on the way goes to RaiseRefusal.
template <class Work>
void RunAudited(data::Connection& connection, const std::string& user, const AuditEntry& attempted,
                Work&& work) {
  try {
    work();
  } catch (const data::PermissionDenied& denied) {
    RaiseRefusal(connection, user, denied, attempted);
  }
}

struct AuditRow {
  int32_t id = 0;
  vb::Date at;
  std::string user;
  std::string client;
  int32_t company_id = 0;
  std::string action;
  std::string document;
  std::string details;
};

// What to read; empty fields take everything.
struct AuditFilter {
  std::string user;
  std::string document;  // exact: "order PO000111"
  std::string from;      // ISO dates, inclusive
  std::string to;
  int32_t before_id = 0;  // only rows older than this one (0: from the newest), to page
  int32_t limit = 500;
};

// The statement that reads the rows `filter` picks, newest first.
struct AuditQuery {
  std::string sql;
  std::vector<vb::Variant> parameters;
};
AuditQuery AuditSql(const AuditFilter& filter);

// On a server, folds into the audit trail what the server refused that no
// transaction of ours could record (statements refused to any client,
// failed passwords), as its log reports it; on SQLite nothing. Raises as
// Connection::Query.
void FoldServerLog(data::Connection& connection);

// The rows `filter` picks, newest first; reading from the newest folds the
// server's log first.
std::vector<AuditRow> ReadAudit(data::Connection& connection, const AuditFilter& filter);

}  // namespace kvt::access
