#include "apps/kvt-host/access/user_access.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

#include "apps/kvt-host/access/audit.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::access {

namespace {

std::vector<Role> AllRoles() { return {std::begin(kAllRoles), std::end(kAllRoles)}; }

std::vector<Role> RolesIn(data::RecordSet& rows) {
  std::vector<Role> roles;
  for (; !rows.IsEOF(); rows.MoveNext()) {
    if (auto role = RoleNamed(vb::CStr(rows.Item(0).Value()))) roles.push_back(*role);
  }
  std::sort(roles.begin(), roles.end());
  return roles;
}

thread_local std::string acting_sqlite_user;

}  // namespace

ScopedSqliteUser::ScopedSqliteUser(std::string user) : previous_(std::move(acting_sqlite_user)) {
  acting_sqlite_user = std::move(user);
}

ScopedSqliteUser::~ScopedSqliteUser() { acting_sqlite_user = std::move(previous_); }

std::string OperatingSystemUser() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name) {
    return entry->pw_name;
  }
  return "uid " + std::to_string(::geteuid());
}

UserAccess UserAccess::Of(data::Connection& connection, const std::string& sqlite_user) {
  if (connection.GetBackend() == data::Backend::kPostgreSQL) {
    const auto login = connection.Query("SELECT session_user, kvt_unbound()");
    const std::string user = vb::CStr(login->Item(0).Value());
    if (vb::CBool(login->Item(1).Value())) return UserAccess(user, AllRoles(), true);
    const auto held = connection.Query(
        "SELECT substr(rolname, 5) FROM pg_roles WHERE rolname LIKE 'kvt\\_%' "
        "AND pg_has_role(session_user, oid, 'MEMBER')");
    return UserAccess(user, RolesIn(*held));
  }
  const std::string user = !sqlite_user.empty()          ? sqlite_user
                           : !acting_sqlite_user.empty() ? acting_sqlite_user
                                                         : OperatingSystemUser();
  if (vb::CLng(connection.Query("SELECT COUNT(*) FROM UserRoles")->Item(0).Value()) == 0) {
    return UserAccess(user, AllRoles(), true);
  }
  const auto held =
      connection.Query("SELECT Role FROM UserRoles WHERE UserName = ?1", {vb::Variant(user)});
  return UserAccess(user, RolesIn(*held));
}

bool UserAccess::Holds(Role role) const {
  return std::find(roles_.begin(), roles_.end(), role) != roles_.end();
}

std::string UserAccess::WhyNot(Action action) const { return Refusal(action, user_, roles_); }

void UserAccess::Require(data::Connection& connection, Action action, const std::string& document,
                         int32_t company_id) const {
  const std::string why = WhyNot(action);
  if (why.empty()) return;
  Audit(connection, user_, {company_id, "refused", document, why});
  throw vb::Error(kPermissionDenied, kAccessSource, why);
}

UserAccess RequirePosting(data::Connection& connection, int32_t company_id, int32_t month,
                          int32_t year_key, const std::string& document) {
  UserAccess access = UserAccess::Of(connection);
  access.Require(connection, Action::kPostVoucher, document, company_id);
  const auto current = connection.Query(
      "SELECT MonthID, YearID FROM AccountingPeriods WHERE CompanyID = ?1 AND IsCurrent = TRUE",
      {vb::Variant(company_id)});
  if (!current->IsEOF() && (vb::CLng(current->Item(0).Value()) != month ||
                            vb::CLng(current->Item(1).Value()) != year_key)) {
    access.Require(connection, Action::kPostToOtherPeriod, document, company_id);
  }
  return access;
}

}  // namespace kvt::access
