#include "apps/kvt-host/serve/token_store.h"

#include <openssl/evp.h>
#include <sys/random.h>

#include <algorithm>
#include <vector>

#include "platform/value/error.h"

namespace kvt::serve {

namespace {

std::string Hex(const unsigned char* data, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0xF];
  }
  return text;
}

}  // namespace

std::string Sha256Hex(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha256(), nullptr) != 1) {
    throw vb::Error(vb::err::kInternalError, "KvtHost.Serve", "SHA-256 is not available.");
  }
  return Hex(digest, size);
}

std::string RandomHex(size_t bytes) {
  std::vector<unsigned char> data(bytes);
  size_t got = 0;
  while (got < bytes) {
    const ssize_t n = ::getrandom(data.data() + got, bytes - got, 0);
    if (n <= 0) {
      throw vb::Error(vb::err::kInvalidCall, "KvtHost.Serve", "The kernel gave no random bytes.");
    }
    got += static_cast<size_t>(n);
  }
  return Hex(data.data(), data.size());
}

std::string TokenStore::Issue(Session session) {
  const std::string token = RandomHex(32);
  const Clock::time_point now = Clock::now();
  session.expires = now + lifetime_;
  std::lock_guard<std::mutex> lock(mutex_);
  DropExpired(now);
  by_hash_[Sha256Hex(token)] = std::make_shared<const Session>(std::move(session));
  return token;
}

std::shared_ptr<const Session> TokenStore::Find(const std::string& token) {
  const std::string hash = Sha256Hex(token);
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = by_hash_.find(hash);
  if (found == by_hash_.end()) return nullptr;
  if (found->second->expires <= Clock::now()) {
    by_hash_.erase(found);
    return nullptr;
  }
  return found->second;
}

bool TokenStore::Revoke(const std::string& token) {
  const std::string hash = Sha256Hex(token);
  std::lock_guard<std::mutex> lock(mutex_);
  return by_hash_.erase(hash) != 0;
}

bool TokenStore::HoldsLogin(const std::string& connection_text) {
  std::lock_guard<std::mutex> lock(mutex_);
  DropExpired(Clock::now());
  return std::any_of(by_hash_.begin(), by_hash_.end(), [&](const auto& entry) {
    return entry.second->connection_text == connection_text;
  });
}

size_t TokenStore::RevokeUser(const std::string& user) {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::erase_if(by_hash_, [&](const auto& entry) { return entry.second->user == user; });
}

void TokenStore::DropExpired(Clock::time_point now) {
  std::erase_if(by_hash_, [&](const auto& entry) { return entry.second->expires <= now; });
}

}  // namespace kvt::serve
