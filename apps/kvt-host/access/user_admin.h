// Users and their roles, managed by an administrator: on a server each
// user is a login of its own (the password set as a SCRAM verifier, made
// here); on SQLite the roles the host enforces for operating-system users.
// Every change leaves an audit row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apps/kvt-host/access/roles.h"
#include "apps/kvt-host/access/user_access.h"
#include "platform/data/connection.h"

namespace kvt::access {

struct UserRow {
  std::string user;
  std::string roles;         // "buyer,clerk"
  std::string locked_until;  // "2026-11-02 16:05" while the login is locked, else empty
};

class UserAdmin {
 public:
  // Raises kPermissionDenied (and audits it) unless `by` is an
  // administrator.
  UserAdmin(data::Connection& connection, UserAccess by);

  // Adds `user` holding `roles`, working for `company_id`. On a server
  // `password` becomes its login's (it must not be empty); on SQLite it
  // is not used. The first user an SQLite file records must be an
  // administrator, or nobody could manage users after. Raises 5 for a user
  // that exists already.
  void Add(const std::string& user, const std::vector<Role>& roles, const std::string& password,
           int32_t company_id);
  // Removes `user` (not oneself).
  void Remove(const std::string& user);
  void Grant(const std::string& user, const std::vector<Role>& roles);
  void Revoke(const std::string& user, const std::vector<Role>& roles);
  std::vector<UserRow> List();
  // Lifts the lock of a server login that failed too often to log in;
  // true when it was locked. An SQLite file's users log in as the
  // operating system's users, with no password to guess: raises 5.
  bool Unlock(const std::string& user);

 private:
  bool OnServer() const;
  void Record(const std::string& action, const std::string& user, const std::string& details);
  void ChangeRoles(const std::string& user, const std::vector<Role>& roles, bool granting);

  data::Connection& connection_;
  UserAccess by_;
};

}  // namespace kvt::access
