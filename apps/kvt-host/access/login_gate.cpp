#include "apps/kvt-host/access/login_gate.h"

#include <optional>

#include "apps/kvt-host/access/user_access.h"
#include "platform/data/data_errors.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/text.h"
#include "services/connection_text.h"

namespace kvt::access {

namespace {

constexpr char kGateRole[] = "kvt_gate";

// The gate's connection to the database of `server`, or nothing when the
// gate cannot be reached. Its password comes from libpq's password file.
data::ConnectionRef OpenGate(const data::PostgresServer& server) {
  data::PostgresServer gate = server;
  gate.user = kGateRole;
  gate.password.clear();
  gate.connect_timeout_seconds = 5;
  try {
    return data::OpenPostgres(gate);
  } catch (const vb::Error&) {
    return nullptr;
  }
}

// The first column of the gate's answer to `sql` as text ("" for NULL), or
// nothing when the gate is not there or the database has no such function.
std::optional<std::string> AskGate(const data::PostgresServer& server, const std::string& sql) {
  const data::ConnectionRef gate = OpenGate(server);
  if (!gate) return std::nullopt;
  try {
    const vb::Variant answer = gate->Query(sql, {vb::Variant(server.user)})->Item(0).Value();
    return answer.IsNull() ? "" : vb::CStr(answer);
  } catch (const vb::Error&) {
    return std::nullopt;
  }
}

}  // namespace

std::string LockedMessage(const std::string& user, const std::string& until) {
  return "The login " + user + " is locked until " + until +
         " after too many failed logins: ask an administrator to unlock it (kvt-host users "
         "unlock " +
         user + ").";
}

std::string WrongLoginMessage() {
  // The same words for every name, known or not, as the server's own.
  return "Wrong user name or password. After 5 failed logins in a row a login is locked for 15 "
         "minutes.";
}

void RequireLoginOpen(const data::PostgresServer& server) {
  const std::optional<std::string> until =
      AskGate(server, "SELECT to_char(kvt_login_open(?1), 'HH24:MI')");
  if (until && !until->empty()) {
    throw vb::Error(kPermissionDenied, kAccessSource, LockedMessage(server.user, *until));
  }
}

data::ConnectionRef LogIn(const data::PostgresServer& server) {
  data::ConnectionRef connection;
  try {
    connection = data::OpenPostgres(server);
  } catch (const data::LoginRefused& refused) {
    const std::optional<std::string> until =
        AskGate(server, "SELECT to_char(locked_until, 'HH24:MI') FROM kvt_login_failed(?1)");
    if (until && !until->empty()) {
      throw vb::Error(kPermissionDenied, kAccessSource, LockedMessage(server.user, *until));
    }
    throw vb::Error(refused.number(), kAccessSource, WrongLoginMessage(), refused.context());
  }
  try {
    connection->Query("SELECT kvt_login_succeeded()");
  } catch (const vb::Error&) {
    // A database an older build made counts no failures to forget.
  }
  return connection;
}

void RequireLoginOpen(const std::string& connection_text, const std::string& user) {
  data::PostgresServer server = services::ServerOf(services::ParseConnectionText(connection_text));
  server.user = user;
  RequireLoginOpen(server);
}

std::string LoggedIn(const std::string& connection_text, const std::string& user,
                     const std::string& password) {
  data::PostgresServer server = services::ServerOf(services::ParseConnectionText(connection_text));
  server.user = user;
  server.password = password;
  LogIn(server);
  return connection_text + ";User ID=" + vb::KeyValueText(user) +
         ";Password=" + vb::KeyValueText(password);
}

}  // namespace kvt::access
