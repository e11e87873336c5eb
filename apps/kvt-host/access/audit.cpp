#include "apps/kvt-host/access/audit.h"

#include <unistd.h>

#include <ctime>

#include "apps/kvt-host/access/user_access.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::access {

namespace {

// This machine, for the audit trail's "from where" of a file database.
std::string ThisMachine() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "this machine";
  return name;
}

vb::Variant TextOrNull(const std::string& text) {
  return text.empty() ? vb::Variant::Null() : vb::Variant(text);
}

std::string TextOf(const vb::Variant& value) { return value.IsNull() ? "" : vb::CStr(value); }

}  // namespace

void Audit(data::Connection& connection, const std::string& user, const AuditEntry& entry) {
  connection.Execute(
      "INSERT INTO AuditTrail (At, UserName, Client, CompanyID, Action, Document, Details) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
      {vb::Variant(vb::Date::Now()), vb::Variant(user), vb::Variant(ThisMachine()),
       entry.company_id == 0 ? vb::Variant::Null() : vb::Variant(entry.company_id),
       vb::Variant(entry.action), TextOrNull(entry.document), TextOrNull(entry.details)});
}

std::string PlainRefusal(const data::PermissionDenied& denied) {
  const std::string& said = denied.description();
  constexpr char kGrant[] = "permission denied for ";
  if (said.rfind(kGrant, 0) == 0) {
    return "The database refused it: your login may not write to " +
           said.substr(said.find(' ', sizeof kGrant - 1) + 1) + ".";
  }
  return said;
}

void RaiseRefusal(data::Connection& connection, const std::string& user,
                  const data::PermissionDenied& denied, const AuditEntry& attempted) {
  AuditEntry refused = attempted;
  refused.action = "refused";
  refused.details = attempted.action + ": " + denied.description();
  Audit(connection, user, refused);
  throw vb::Error(kPermissionDenied, kAccessSource, PlainRefusal(denied));
}

void FoldServerLog(data::Connection& connection) {
  if (connection.GetBackend() != data::Backend::kPostgreSQL) return;
  // Asked of the catalogue first: a database an earlier build made has no
  // such function, and a failed call would spoil the caller's transaction.
  connection.Query(
      "SELECT kvt_read_server_log() FROM pg_proc WHERE proname = 'kvt_read_server_log' "
      "AND pronamespace = current_schema()::regnamespace");
}

AuditQuery AuditSql(const AuditFilter& filter) {
  std::string sql =
      "SELECT ID, At, UserName, Client, CompanyID, Action, Document, Details FROM AuditTrail "
      "WHERE 1 = 1";
  std::vector<vb::Variant> parameters;
  auto where = [&](const char* condition, const std::string& value) {
    if (value.empty()) return;
    parameters.emplace_back(value);
    sql += std::string(" AND ") + condition + " ?" + std::to_string(parameters.size());
  };
  where("UserName =", filter.user);
  where("Document =", filter.document);
  where("At >=", filter.from);
  where("At <=", filter.to.empty() ? "" : filter.to + " 23:59:59");
  if (filter.before_id > 0) {
    parameters.emplace_back(filter.before_id);
    sql += " AND ID < ?" + std::to_string(parameters.size());
  }
  sql += " ORDER BY ID DESC LIMIT " + std::to_string(filter.limit);
  return {sql, parameters};
}

std::vector<AuditRow> ReadAudit(data::Connection& connection, const AuditFilter& filter) {
  if (filter.before_id == 0) FoldServerLog(connection);
  const AuditQuery query = AuditSql(filter);
  std::vector<AuditRow> rows;
  for (auto found = connection.Query(query.sql, query.parameters); !found->IsEOF();
       found->MoveNext()) {
    AuditRow row;
    row.id = vb::CLng(found->Item(0).Value());
    row.at = vb::CDate(found->Item(1).Value());
    row.user = TextOf(found->Item(2).Value());
    row.client = TextOf(found->Item(3).Value());
    const vb::Variant company = found->Item(4).Value();
    row.company_id = company.IsNull() ? 0 : vb::CLng(company);
    row.action = TextOf(found->Item(5).Value());
    row.document = TextOf(found->Item(6).Value());
    row.details = TextOf(found->Item(7).Value());
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace kvt::access
