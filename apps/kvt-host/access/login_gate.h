// Logging in to a server so that guessing passwords does not pay: every
// refused login is reported through the database's login gate (the role
// kvt_gate, whose password the libpq password file holds), which audits
// it, slows the next ones down from the 3rd failure in a row and, at the
// 5th, locks the login for 15 minutes in the server itself, for every
// client. Without a gate to reach (none set up, or a database an older
// build made) logins are neither counted nor refused by it.
#pragma once

#include <string>

#include "platform/data/connection.h"
#include "platform/data/postgres_connection.h"

namespace kvt::access {

// Raises kPermissionDenied with LockedMessage when `server.user` is locked
// now; a lock that has run out is lifted here.
void RequireLoginOpen(const data::PostgresServer& server);

// A connection to `server` as its user with its password. A refusal is
// reported to the gate and raised as the server's refusal (0x80004005) in
// plain words, or, when it locked the login, as RequireLoginOpen raises.
// A login that gets in starts counting afresh.
data::ConnectionRef LogIn(const data::PostgresServer& server);

// The same for the server database `connection_text` names and `user`:
// RequireLoginOpen, and LogIn returning `connection_text` logged in as
// `user` with `password`.
void RequireLoginOpen(const std::string& connection_text, const std::string& user);
std::string LoggedIn(const std::string& connection_text, const std::string& user,
                     const std::string& password);

// "The login dana is locked until 16:05 ...: ask an administrator to
// unlock it (kvt-host users unlock dana)."
std::string LockedMessage(const std::string& user, const std::string& until);
// "Wrong user name or password. After 5 failed logins ..."
std::string WrongLoginMessage();

}  // namespace kvt::access
