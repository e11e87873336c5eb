#include "apps/kvt-host/access/user_admin.h"

#include "apps/kvt-host/access/audit.h"
#include "platform/data/postgres_connection.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::access {

namespace {

std::string ServerArray(const std::vector<Role>& roles) { return RoleListText(roles); }

[[noreturn]] void Refuse(const std::string& why) {
  throw vb::Error(vb::err::kInvalidCall, kAccessSource, why);
}

std::string TextOf(const vb::Variant& value) { return value.IsNull() ? "" : vb::CStr(value); }

}  // namespace

UserAdmin::UserAdmin(data::Connection& connection, UserAccess by)
    : connection_(connection), by_(std::move(by)) {
  by_.Require(connection_, Action::kManageUsers, "users", 0);
}

bool UserAdmin::OnServer() const { return connection_.GetBackend() == data::Backend::kPostgreSQL; }

void UserAdmin::Record(const std::string& action, const std::string& user,
                       const std::string& details) {
  Audit(connection_, by_.User(), {0, action, "user " + user, details});
}

void UserAdmin::Add(const std::string& user, const std::vector<Role>& roles,
                    const std::string& password, int32_t company_id) {
  if (user.empty()) Refuse("A user needs a name.");
  if (roles.empty()) Refuse("A user needs at least one role.");
  const AuditEntry attempt{0, "user added", "user " + user, RoleListText(roles)};
  if (OnServer()) {
    if (password.empty()) Refuse("A user of a server database needs a password.");
    const std::string verifier = data::PostgresPasswordVerifier(connection_, user, password);
    RunAudited(connection_, by_.User(), attempt, [&] {
      connection_.RunInTransaction([&] {
        connection_.Query(
            "SELECT kvt_add_user(?1, ?2, string_to_array(?3, ','), ARRAY[?4::integer])",
            {vb::Variant(user), vb::Variant(verifier), vb::Variant(ServerArray(roles)),
             vb::Variant(company_id)});
        Record(attempt.action, user, attempt.details);
      });
    });
    return;
  }
  connection_.RunInTransaction(
      [&] {
        if (vb::CLng(connection_
                         .Query("SELECT COUNT(*) FROM UserCompanies WHERE UserName = ?1",
                                {vb::Variant(user)})
                         ->Item(0)
                         .Value()) != 0) {
          Refuse("There is already a user \"" + user + "\".");
        }
        const bool first =
            vb::CLng(connection_.Query("SELECT COUNT(*) FROM UserRoles")->Item(0).Value()) == 0;
        bool admin = false;
        for (Role role : roles) admin = admin || role == Role::kAdmin;
        if (first && !admin) {
          Refuse(
              "The first user recorded must be an administrator (--role admin), or nobody "
              "could manage the users afterwards.");
        }
        for (Role role : roles) {
          connection_.Execute("INSERT INTO UserRoles (UserName, Role) VALUES (?1, ?2)",
                              {vb::Variant(user), vb::Variant(std::string(RoleName(role)))});
        }
        connection_.Execute("INSERT INTO UserCompanies (UserName, CompanyID) VALUES (?1, ?2)",
                            {vb::Variant(user), vb::Variant(company_id)});
        Record(attempt.action, user, attempt.details);
      },
      data::Connection::TransactionLock::kWrite);
}

void UserAdmin::Remove(const std::string& user) {
  if (user == by_.User()) Refuse("An administrator cannot remove their own user.");
  const AuditEntry attempt{0, "user removed", "user " + user, ""};
  RunAudited(connection_, by_.User(), attempt, [&] {
    connection_.RunInTransaction([&] {
      if (OnServer()) {
        connection_.Query("SELECT kvt_remove_user(?1)", {vb::Variant(user)});
      } else {
        if (connection_.Execute("DELETE FROM UserCompanies WHERE UserName = ?1",
                                {vb::Variant(user)}) == 0) {
          Refuse("There is no user \"" + user + "\".");
        }
        connection_.Execute("DELETE FROM UserRoles WHERE UserName = ?1", {vb::Variant(user)});
      }
      Record(attempt.action, user, "");
    });
  });
}

void UserAdmin::ChangeRoles(const std::string& user, const std::vector<Role>& roles,
                            bool granting) {
  const AuditEntry attempt{0, granting ? "roles granted" : "roles revoked", "user " + user,
                           RoleListText(roles)};
  RunAudited(connection_, by_.User(), attempt, [&] {
    connection_.RunInTransaction([&] {
      if (OnServer()) {
        connection_.Query(
            "SELECT kvt_change_roles(?1, string_to_array(?2, ','), ?3)",
            {vb::Variant(user), vb::Variant(ServerArray(roles)), vb::Variant(granting)});
      } else {
        if (vb::CLng(connection_
                         .Query("SELECT COUNT(*) FROM UserCompanies WHERE UserName = ?1",
                                {vb::Variant(user)})
                         ->Item(0)
                         .Value()) == 0) {
          Refuse("There is no user \"" + user + "\".");
        }
        for (Role role : roles) {
          const std::vector<vb::Variant> row{vb::Variant(user),
                                             vb::Variant(std::string(RoleName(role)))};
          connection_.Execute(granting ? "INSERT INTO UserRoles (UserName, Role) VALUES (?1, ?2) "
                                         "ON CONFLICT DO NOTHING"
                                       : "DELETE FROM UserRoles WHERE UserName = ?1 AND Role = ?2",
                              row);
        }
      }
      Record(attempt.action, user, attempt.details);
    });
  });
}

void UserAdmin::Grant(const std::string& user, const std::vector<Role>& roles) {
  ChangeRoles(user, roles, true);
}

void UserAdmin::Revoke(const std::string& user, const std::vector<Role>& roles) {
  ChangeRoles(user, roles, false);
}

std::vector<UserRow> UserAdmin::List() {
  // A login guessed at through another client is locked once the server's
  // log is read.
  FoldServerLog(connection_);
  const std::string sql =
      OnServer() ? "SELECT u.\"UserName\", u.\"Roles\", to_char(l.LockedUntil, "
                   "'YYYY-MM-DD HH24:MI') FROM kvt_list_users() u LEFT JOIN LoginLocks l "
                   "ON l.UserName = u.\"UserName\" AND l.LockedUntil > localtimestamp ORDER BY 1"
                 : "SELECT u.UserName, (SELECT group_concat(Role, ',') FROM (SELECT Role "
                   "FROM UserRoles r WHERE r.UserName = u.UserName ORDER BY Role)), NULL "
                   "FROM (SELECT DISTINCT UserName FROM UserCompanies) u ORDER BY 1";
  std::vector<UserRow> users;
  for (auto rows = connection_.Query(sql); !rows->IsEOF(); rows->MoveNext()) {
    users.push_back({TextOf(rows->Item(0).Value()), TextOf(rows->Item(1).Value()),
                     TextOf(rows->Item(2).Value())});
  }
  return users;
}

}  // namespace kvt::access

namespace kvt::access {

bool UserAdmin::Unlock(const std::string& user) {
  if (!OnServer()) {
    Refuse(
        "An SQLite file's users are the operating system's and give it no password: there is "
        "no login to unlock.");
  }
  bool was_locked = false;
  const AuditEntry attempt{0, "login unlocked", "user " + user, ""};
  RunAudited(connection_, by_.User(), attempt, [&] {
    connection_.RunInTransaction([&] {
      was_locked = vb::CBool(
          connection_.Query("SELECT kvt_unlock_user(?1)", {vb::Variant(user)})->Item(0).Value());
      Record(attempt.action, user, was_locked ? "by an administrator" : "it was not locked");
    });
  });
  return was_locked;
}

}  // namespace kvt::access
