#include "services/connection_text.h"

#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <vector>

#include "platform/data/postgres_connection.h"
#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::services {

namespace {

constexpr char kSource[] = "DataGateway";

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)); }

[[noreturn]] void InvalidArgument(const std::string& context) {
  throw vb::Error(vb::err::kAdoInvalidArgument, kSource,
                  "Arguments are of the wrong type, are out of acceptable "
                  "range, or are in conflict with one another.",
                  context);
}

// Reads the value that starts at `pos` (after "Key="), leaving `pos` after
// the ";" that ends it.
std::string ReadValue(const std::string& text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
    const char quote = text[pos++];
    std::string value;
    for (;; ++pos) {
      if (pos >= text.size()) InvalidArgument("a quote is not closed");
      if (text[pos] != quote) {
        value += text[pos];
      } else if (pos + 1 < text.size() && text[pos + 1] == quote) {
        value += quote;
        ++pos;
      } else {
        break;
      }
    }
    ++pos;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] != ';') {
      InvalidArgument("text after a quoted value");
    }
    ++pos;
    return value;
  }
  size_t end = text.find(';', pos);
  if (end == std::string::npos) end = text.size();
  std::string value = vb::TrimWhitespace(text.substr(pos, end - pos));
  pos = end + 1;
  return value;
}

bool IsOneOf(const std::string& key, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (key == name) return true;
  }
  return false;
}

}  // namespace

ConnectionText ParseConnectionText(const std::string& text) {
  ConnectionText result;
  std::string provider = "SQLite", data_source, timeout;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t equals = text.find('=', pos);
    const size_t semicolon = text.find(';', pos);
    if (equals == std::string::npos || semicolon < equals) {
      if (semicolon == std::string::npos) break;
      pos = semicolon + 1;  // a part without "=" says nothing
      continue;
    }
    const std::string key = vb::LCase(vb::TrimWhitespace(text.substr(pos, equals - pos)));
    pos = equals + 1;
    std::string value = ReadValue(text, pos);
    if (key == "provider") {
      provider = value;
    } else if (IsOneOf(key, {"data source", "datasource"})) {
      data_source = value;
    } else if (IsOneOf(key, {"database", "initial catalog"})) {
      result.database = value;
    } else if (IsOneOf(key, {"host", "server"})) {
      result.host = value;
    } else if (key == "schema") {
      result.schema = value;
    } else if (key == "port") {
      result.port = value;
    } else if (IsOneOf(key, {"user id", "uid", "user"})) {
      result.user_id = value;
    } else if (IsOneOf(key, {"password", "pwd"})) {
      result.password = value;
    } else if (IsOneOf(key, {"connect timeout", "timeout"})) {
      timeout = value;
    }
  }
  const std::string kind = vb::LCase(provider);
  if (kind == "postgresql" || kind == "postgres") {
    result.backend = data::Backend::kPostgreSQL;
    if (result.host.empty()) result.host = data_source;
    if (result.database.empty()) InvalidArgument("no Database in the connection text");
  } else if (kind == "sqlite") {
    result.path = data_source.empty() ? result.database : data_source;
    if (result.path.empty()) InvalidArgument("no Data Source in the connection text");
  } else {
    throw vb::Error(vb::err::kAdoProviderNotFound, kSource,
                    "Provider cannot be found. It may not be properly "
                    "installed.",
                    provider);
  }
  if (!timeout.empty()) {
    const auto parsed = std::from_chars(timeout.data(), timeout.data() + timeout.size(),
                                        result.connect_timeout_seconds);
    if (parsed.ec != std::errc() || parsed.ptr != timeout.data() + timeout.size()) {
      InvalidArgument("Connect Timeout is no number: " + timeout);
    }
  }
  return result;
}

std::string DescribeDatabase(const ConnectionText& text) {
  if (text.backend == data::Backend::kSQLite) return text.path;
  return text.database + " on " + (text.host.empty() ? "the local server" : text.host) +
         " (PostgreSQL)";
}

data::PostgresServer ServerOf(const ConnectionText& text) {
  data::PostgresServer server;
  server.host = text.host;
  server.port = text.port;
  server.database = text.database;
  server.user = text.user_id;
  server.password = text.password;
  server.schema = text.schema;
  server.connect_timeout_seconds = text.connect_timeout_seconds;
  return server;
}

namespace {

// The connections a reuse scope keeps, by what they were opened with; null
// outside a scope.
struct ReusedConnections {
  std::map<std::string, std::vector<data::ConnectionRef>> by_key;
  ConnectionPool* pool = nullptr;
};
// The most connections a scope keeps open for one text.
constexpr size_t kReusedPerText = 8;
thread_local ReusedConnections* reused = nullptr;

std::string ReuseKey(const ConnectionText& text) {
  return std::string(data::BackendName(text.backend)) + '\n' + text.path + '\n' + text.host + '\n' +
         text.port + '\n' + text.database + '\n' + text.user_id + '\n' + text.password + '\n' +
         text.schema;
}

data::ConnectionRef OpenAnew(const ConnectionText& text);

}  // namespace

ScopedConnectionReuse::ScopedConnectionReuse() : ScopedConnectionReuse(nullptr) {}

ScopedConnectionReuse::ScopedConnectionReuse(ConnectionPool* pool) : outermost_(reused == nullptr) {
  if (outermost_) {
    reused = new ReusedConnections;
    reused->pool = pool;
  }
}

ScopedConnectionReuse::~ScopedConnectionReuse() {
  if (!outermost_) return;
  std::unique_ptr<ReusedConnections> ended(reused);
  reused = nullptr;
  if (ended->pool == nullptr) return;
  for (auto& [key, kept] : ended->by_key) {
    // One somebody still holds may be inside a transaction of theirs.
    for (data::ConnectionRef& connection : kept) {
      if (connection.use_count() == 1 && connection->IsIdle()) {
        ended->pool->Give(key, std::move(connection));
      }
    }
  }
}

void ConnectionPool::Forget(const std::string& connection_text) {
  const std::string key = ReuseKey(ParseConnectionText(connection_text));
  std::vector<data::ConnectionRef> closing;
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(idle_, [&](Kept& kept) {
    if (kept.key != key) return false;
    closing.push_back(std::move(kept.connection));
    return true;
  });
}

size_t ConnectionPool::IdleCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return idle_.size();
}

data::ConnectionRef ConnectionPool::Take(const std::string& key) {
  std::vector<data::ConnectionRef> closing;
  std::lock_guard<std::mutex> lock(mutex_);
  TakeStale(Clock::now(), closing);
  for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
    if (it->key != key) continue;
    data::ConnectionRef connection = std::move(it->connection);
    idle_.erase(std::next(it).base());
    return connection;
  }
  return nullptr;
}

void ConnectionPool::Give(const std::string& key, data::ConnectionRef connection) {
  std::vector<data::ConnectionRef> closing;
  std::lock_guard<std::mutex> lock(mutex_);
  const Clock::time_point now = Clock::now();
  TakeStale(now, closing);
  if (limit_ == 0) return;
  while (idle_.size() >= limit_) {
    closing.push_back(std::move(idle_.front().connection));
    idle_.pop_front();
  }
  idle_.push_back({key, std::move(connection), now});
}

void ConnectionPool::TakeStale(Clock::time_point now, std::vector<data::ConnectionRef>& closing) {
  while (!idle_.empty() && now - idle_.front().since > idle_limit_) {
    closing.push_back(std::move(idle_.front().connection));
    idle_.pop_front();
  }
}

data::ConnectionRef OpenConnection(const ConnectionText& text) {
  if (reused == nullptr) return OpenAnew(text);
  std::vector<data::ConnectionRef>& kept = reused->by_key[ReuseKey(text)];
  // Only a connection nobody holds is given again: whoever holds one may be
  // inside a transaction on it. One closed, broken or left inside a
  // transaction by whoever let it go is dropped: a new one stands in for it.
  for (auto it = kept.begin(); it != kept.end();) {
    if (it->use_count() > 1) {
      ++it;
    } else if ((*it)->IsIdle()) {
      return *it;
    } else {
      it = kept.erase(it);
    }
  }
  data::ConnectionRef fresh;
  if (reused->pool != nullptr && kept.size() < kReusedPerText) {
    // One the server broke meanwhile is dropped.
    while ((fresh = reused->pool->Take(ReuseKey(text))) && !fresh->IsIdle()) {
    }
  }
  if (!fresh) fresh = OpenAnew(text);
  if (kept.size() < kReusedPerText) kept.push_back(fresh);
  return fresh;
}

namespace {

data::ConnectionRef OpenAnew(const ConnectionText& text) {
  if (text.backend == data::Backend::kPostgreSQL) return data::OpenPostgres(ServerOf(text));
  return data::Connection::Open(text.path, data::Connection::OpenMode::kExisting);
}

}  // namespace

}  // namespace kvt::services
