// Logging in to the API. On a server the user and password open the
// user's own login, so the database checks the password and later
// enforces the user's grants; failures are counted and a login locked by
// the server's own lock (access/login_gate.h), the one the desk and the
// host use, so a name locked through one is locked through all, in the
// same words. On an SQLite file there are no passwords of users: the
// server is started with one password for its API (KVT_PASSWORD), and a
// login names a user whose roles the file records (any name while it
// records none). Guessing is slowed there by the API itself: after
// kFailuresBeforeLock failed logins in a row a name is locked for
// kLockSeconds, and every failure is audited.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

#include "apps/kvt-host/serve/token_store.h"

namespace kvt::serve {

inline constexpr int kFailuresBeforeLock = 5;
inline constexpr int kLockSeconds = 60;

// The database the server works on.
struct ServeTarget {
  std::string connection_text;  // the owner's (on a server) or the file's
  bool on_server = false;
  std::string file_password;  // SQLite only
};

class LoginGate {
 public:
  explicit LoginGate(ServeTarget target) : target_(std::move(target)) {}

  // The session of `user` when `password` is theirs. Refuses with 401
  // (the wrong password's words) or 429 while the name is locked (on a
  // server the lock's words, with until when); each failure is audited.
  Session LogIn(const std::string& user, const std::string& password);

  const ServeTarget& Target() const { return target_; }

 private:
  Session ServerLogIn(const std::string& user, const std::string& password) const;
  bool Verified(const std::string& user, const std::string& password, Session& session) const;
  void Failed(const std::string& user);

  struct Failures {
    int count = 0;
    Clock::time_point locked_until{};
  };

  ServeTarget target_;
  std::mutex mutex_;
  std::map<std::string, Failures> failures_;
};

}  // namespace kvt::serve
