#include "apps/kvt-host/serve/api_login.h"

#include <openssl/crypto.h>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/access/login_gate.h"
#include "apps/kvt-host/access/user_access.h"
#include "apps/kvt-host/serve/api_error.h"
#include "platform/value/text.h"
#include "services/connection_text.h"

namespace kvt::serve {

namespace {

constexpr size_t kRememberedNames = 10000;
constexpr char kWrong[] = "The user name or password is wrong.";

data::ConnectionRef Open(const std::string& connection_text) {
  return services::OpenConnection(services::ParseConnectionText(connection_text));
}

bool SameSecret(const std::string& a, const std::string& b) {
  // Compared in constant time, so the answer's timing tells nothing.
  const std::string ha = Sha256Hex(a), hb = Sha256Hex(b);
  return CRYPTO_memcmp(ha.data(), hb.data(), ha.size()) == 0;
}

}  // namespace

Session LoginGate::LogIn(const std::string& user, const std::string& password) {
  if (target_.on_server) return ServerLogIn(user, password);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = failures_.find(user);
    if (found != failures_.end() && found->second.locked_until > Clock::now()) {
      Refuse(429, "user",
             "Too many failed logins for " + user +
                 ": try again in a minute, or ask an "
                 "administrator.");
    }
  }
  Session session;
  if (!Verified(user, password, session)) {
    Failed(user);
    Refuse(401, "", kWrong);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  failures_.erase(user);
  return session;
}

Session LoginGate::ServerLogIn(const std::string& user, const std::string& password) const {
  if (user.empty() || password.empty()) Refuse(401, "", access::WrongLoginMessage());
  Session session;
  session.user = user;
  session.on_server = true;
  try {
    // The server's own lock and count, shared with the desk and the host.
    access::RequireLoginOpen(target_.connection_text, user);
    session.connection_text = access::LoggedIn(target_.connection_text, user, password);
  } catch (const vb::Error& refused) {
    if (refused.number() == access::kPermissionDenied) Refuse(429, "user", refused.description());
    Refuse(401, "", access::WrongLoginMessage());  // the server's refusal says no more
  }
  return session;
}

bool LoginGate::Verified(const std::string& user, const std::string& password,
                         Session& session) const {
  if (user.empty() || password.empty()) return false;
  session.user = user;
  if (target_.file_password.empty() || !SameSecret(password, target_.file_password)) return false;
  session.connection_text = target_.connection_text;
  data::ConnectionRef connection = Open(target_.connection_text);
  const access::UserAccess access = access::UserAccess::Of(*connection, user);
  return access.Unrestricted() || !access.Roles().empty();
}

void LoginGate::Failed(const std::string& user) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Guessed names must not grow the table without end: forget the
    // failures of names that are not locked.
    if (failures_.size() >= kRememberedNames) {
      const Clock::time_point now = Clock::now();
      std::erase_if(failures_, [&](const auto& entry) { return entry.second.locked_until <= now; });
    }
    Failures& failures = failures_[user];
    if (++failures.count >= kFailuresBeforeLock) {
      failures.locked_until = Clock::now() + std::chrono::seconds(kLockSeconds);
      failures.count = 0;
    }
  }
  try {
    data::ConnectionRef connection = Open(target_.connection_text);
    access::Audit(*connection, user, {0, "login refused", "user " + user, "API"});
  } catch (const vb::Error&) {
    // The refusal stands even when the trail cannot be written.
  }
}

}  // namespace kvt::serve
