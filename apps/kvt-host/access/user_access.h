// Who is working and what they may do, as the database says: the server's
// login and the roles it holds on PostgreSQL; on SQLite the operating
// system's user and the roles UserRoles records for them (a file with no
// roles recorded is a single office's and lets everyone do everything).
// The check the host makes before an action, and the audit row a refusal
// leaves; the database enforces the same roles again on a server.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apps/kvt-host/access/roles.h"
#include "platform/data/connection.h"

namespace kvt::access {

// The error number of a refused action: VB's "Permission denied".
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr char kAccessSource[] = "Access";

// The operating system's name for the user running the host.
std::string OperatingSystemUser();

// On SQLite, who the calling thread acts for while it lives: a server's
// logged-in user rather than the operating system's (who runs the server).
// UserAccess::Of and everything that checks or audits through it then
// name that user and hold them to their recorded roles.
class ScopedSqliteUser {
 public:
  explicit ScopedSqliteUser(std::string user);
  ~ScopedSqliteUser();
  ScopedSqliteUser(const ScopedSqliteUser&) = delete;
  ScopedSqliteUser& operator=(const ScopedSqliteUser&) = delete;

 private:
  std::string previous_;
};

class UserAccess {
 public:
  // The user of `connection` and their roles. `sqlite_user` names the user
  // on SQLite (empty: the operating system's user); a server ignores it
  // and names its login.
  static UserAccess Of(data::Connection& connection, const std::string& sqlite_user = "");
  // For tests and the desk's display: a user holding `roles`.
  UserAccess(std::string user, std::vector<Role> roles, bool unrestricted = false)
      : user_(std::move(user)), roles_(std::move(roles)), unrestricted_(unrestricted) {}

  const std::string& User() const { return user_; }
  const std::vector<Role>& Roles() const { return roles_; }
  // Held to no role: the owner of a server's schema, or anyone on an SQLite
  // file where no roles are recorded yet.
  bool Unrestricted() const { return unrestricted_; }
  bool Holds(Role role) const;
  bool May(Action action) const { return WhyNot(action).empty(); }
  // Why the user may not do `action`, in plain words; empty when they may.
  std::string WhyNot(Action action) const;
  // Unless the user may do `action`: records the refusal in the audit
  // trail (for `document` of `company_id`) and raises kPermissionDenied
  // with WhyNot.
  void Require(data::Connection& connection, Action action, const std::string& document,
               int32_t company_id) const;

 private:
  std::string user_;
  std::vector<Role> roles_;
  bool unrestricted_ = false;
};

// The user of `connection` (as UserAccess::Of), checked for posting a
// voucher of `company_id` to the period `month`, `year_key`: every clerk
// and accountant may post to the company's current period, only an
// accountant to another one. Refusals are audited for `document` and
// raised as Require raises them.
UserAccess RequirePosting(data::Connection& connection, int32_t company_id, int32_t month,
                          int32_t year_key, const std::string& document);

}  // namespace kvt::access
