// The API's logins: a login gives a token (random, 256 bits) that stands
// for the user until it expires or is revoked. Only the token's SHA-256 is
// kept, so the store (or a dump of the process) never holds a token that
// would let anyone in. Thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "apps/kvt-host/access/user_access.h"

namespace kvt::serve {

using Clock = std::chrono::steady_clock;

// Who a token stands for and how they reach the database.
struct Session {
  std::string user;
  // On a server the user's own login (password included): the database
  // enforces their grants. On SQLite the file; the host enforces the
  // roles recorded for `user`.
  std::string connection_text;
  bool on_server = false;
  Clock::time_point expires;
};

class TokenStore {
 public:
  explicit TokenStore(std::chrono::seconds lifetime) : lifetime_(lifetime) {}

  // A fresh token for `session`, whose expiry is set from the lifetime.
  std::string Issue(Session session);
  // The session `token` stands for; nothing when unknown, revoked or
  // expired (an expired one is dropped).
  std::shared_ptr<const Session> Find(const std::string& token);
  // False when the token stood for nothing.
  bool Revoke(const std::string& token);
  // Whether a session still standing reaches the database as
  // `connection_text`.
  bool HoldsLogin(const std::string& connection_text);
  // Ends every session of `user` (an administrator's revocation).
  size_t RevokeUser(const std::string& user);
  std::chrono::seconds Lifetime() const { return lifetime_; }

 private:
  void DropExpired(Clock::time_point now);

  std::chrono::seconds lifetime_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const Session>> by_hash_;
};

// The SHA-256 of `text` in lower-case hex.
std::string Sha256Hex(const std::string& text);
// `bytes` random bytes from the kernel, in hex. Raises 5 when it has none.
std::string RandomHex(size_t bytes);

}  // namespace kvt::serve
